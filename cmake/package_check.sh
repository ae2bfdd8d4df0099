#!/usr/bin/env bash
# Builds the Debian package of the build tree BUILD_DIR with CPACK into a throw-away folder
# and checks it: exactly the EXPECTED files (relative to the prefix) under ./usr, the
# programs executable and owned by root, the library dependencies worked out, the unpacked
# tree valid for AppStream, and the unpacked report tool running.
#   package_check.sh CPACK BUILD_DIR EXPECTED...
set -euo pipefail
cpack=$1
build=$2
shift 2
work=$(mktemp -d /tmp/pbst-package-XXXXXX)
trap 'rm -rf "$work"' EXIT
status=0
fail() { echo "FAIL: $*"; status=1; }

if ! "$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/log" 2>&1; then
  cat "$work/log"
  exit 1
fi
packages=("$work"/out/*.deb)
[ ${#packages[@]} -eq 1 ] || { echo "FAIL: not one package: ${packages[*]}"; exit 1; }
deb=${packages[0]}
echo "package: $(basename "$deb")"

listing=$(dpkg-deb -c "$deb")
files=$(awk '$1 !~ /^d/ { print $6 }' <<<"$listing" | sort)
expected=$(printf './usr/%s\n' "$@" | sort)
[ "$files" == "$expected" ] || fail "files differ:"$'\n'"$(diff <(echo "$expected") <(echo "$files"))"
while read -r mode owner _ _ _ path; do
  [[ $owner == root/root ]] || fail "$path is owned by $owner"
  if [[ $path == ./usr/bin/?* && $mode != -rwxr-xr-x ]]; then
    fail "$path has mode $mode"
  fi
done <<<"$listing"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for library in libc6 libgtk2.0-0 libglib2.0-0 'libstdc++6'; do
  [[ ", $depends," == *", $library "* ]] || fail "Depends lacks $library"
done

dpkg-deb -x "$deb" "$work/root"
appstreamcli validate-tree --no-net "$work/root" || fail "appstreamcli validate-tree"
example=$(cd "$(dirname "$0")/../examples" && pwd)/main.pb
first=$("$work/root/usr/bin/pb-sourcetrek-report" --json files "$example" | head -n 1)
[[ $first == "{\"path\": \"$example\""* ]] || fail "unpacked report tool printed: $first"
exit $status
