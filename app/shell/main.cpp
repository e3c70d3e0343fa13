#include "shell/ZRNcomApp.h"

int main(int argc, char** argv) {
    CZRNcomApp theApp(argc, argv);
    return theApp.Run();
}
