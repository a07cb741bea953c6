// The kavrel program: loads the plug-in into the stand-in host and plays a session script.
#include "core/plugin_factory.h"
#include "host/kavrel_program.h"

int main(int argc, char** argv) {
    return kavrel::runProgram(argc, argv, &kavrel::createKavrelPlugin);
}
