#include "frontend/program_info.h"

#include "frontend/display_text.h"

InformationRequest RequestedInformation(std::string_view argument) {
  if (argument == "-h" || argument == "--help") return InformationRequest::Help;
  if (argument == "-V" || argument == "--version") return InformationRequest::Version;
  return InformationRequest::None;
}

std::string VersionLine(std::string_view program) {
  return std::string(program) + " " + ToDisplayText(ProgramVersion) + "\n";
}
