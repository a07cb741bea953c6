// The kavrel program: loads the plug-in into the stand-in host and plays a session script.
#include "cli/kavrel_program.h"
#include "host/kavrel_plugin.h"

int main(int argc, char** argv) {
    return kavrel::runProgram(argc, argv, &orva::createKavrelPlugin);
}
