#!/usr/bin/env bash
# Runs desktop-file-validate on the desktop entry (any hint or warning fails, not only
# errors) and appstreamcli on the metainfo file, without the network.
set -euo pipefail
entry=$1
metainfo=$2
hints=$(desktop-file-validate "$entry" 2>&1) || { echo "$hints"; exit 1; }
if [ -n "$hints" ]; then
  echo "desktop-file-validate: $hints"
  exit 1
fi
appstreamcli validate --no-net "$metainfo"
