#include "driver/program.h"

int main(int argc, char** argv) { return vrk::run_vrk(argc, argv); }
