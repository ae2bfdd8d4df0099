// PB Sourcetrek: lists the procedures, calls and terms of a PureBasic project.
#include "app/start_up.h"

int main(int argc, char** argv) {
  RunSourcetrek(argc, argv);
  return 0;
}
