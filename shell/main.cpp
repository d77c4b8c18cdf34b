// The game executable: standard output and error stay where the caller sends them.
#include "SolrindPMain.h"

int main(int argc, char** argv) {
    RunMain(argc, argv);
}
