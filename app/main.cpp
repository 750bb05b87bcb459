#include "app/CRavelinApp.h"

int main(int argc, char **argv)
{
    return CRavelinApp::run(argc, argv);
}
