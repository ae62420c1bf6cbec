// kel-cli: the kel engine without a window, for scripts and terminals.
#include <QCoreApplication>

#include "Cli.h"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);  // QSerialPort wants an application object
    return kel::cli::RunCli(argc, argv);
}
