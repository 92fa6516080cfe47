#include "cli.h"

#include <QCoreApplication>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    return gk::runCli(QCoreApplication::arguments().mid(1));
}
