#include "RunCli.h"

int main(int argc, char** argv) { return cli::RunCli({argv + 1, argv + argc}); }
