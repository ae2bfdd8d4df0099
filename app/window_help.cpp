#include "app/window_help.h"

#include "frontend/program_info.h"

std::string WindowHelp() {
  return "usage: pb-sourcetrek [MAINFILE [SELECTION [WORD]]]\n"
         "       pb-sourcetrek --help | --version\n"
         "\n"
         "Opens the window of PB Sourcetrek on the PureBasic project of MAINFILE (the main\n"
         "file and every file it includes) with the list of its procedures; without MAINFILE,\n"
         "or when nothing exists under it, asks for one. A relative MAINFILE is taken from the\n"
         "current directory.\n"
         "\n"
         "  MAINFILE        the project's main source file, or any file of the project whose\n"
         "                  main file the PureBasic IDE records (the include tab edited)\n"
         "  SELECTION       the editor's selection as STARTLINExSTARTCOLUMNxENDLINExENDCOLUMN\n"
         "                  (12x5x12x9); a selection inside one line is looked up\n"
         "  WORD            a procedure whose calls are listed, or else a term to search for\n"
         "  -h, --help      print this help and exit\n"
         "  -V, --version   print the version and exit\n"
         "\n"
         "From the PureBasic IDE (Tools > Configure Tools) give the arguments\n"
         "\"%FILE\" \"%SELECTION\" \"%WORD\" and leave \"Wait until tool quits\" off.\n"
         "See pb-sourcetrek(1).\n";
}

bool RefuseUnknownOption(const std::vector<std::string>& arguments, std::ostream& err) {
  if (arguments.empty() || arguments[0].size() < 2 || arguments[0][0] != '-') return false;
  err << "pb-sourcetrek: unknown option " << arguments[0]
      << "; usage: pb-sourcetrek [MAINFILE [SELECTION [WORD]]] | --help | --version\n";
  return true;
}

bool AnswerInformationRequest(const std::vector<std::string>& arguments, std::ostream& out) {
  switch (arguments.empty() ? InformationRequest::None : RequestedInformation(arguments[0])) {
    case InformationRequest::Help:
      out << WindowHelp();
      return true;
    case InformationRequest::Version:
      out << VersionLine("pb-sourcetrek");
      return true;
    case InformationRequest::None:
      break;
  }
  return false;
}
