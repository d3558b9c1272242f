#include "Cli.h"

int main(int argc, char** argv) {
    return kesto::cli::Run(argc, argv);
}
