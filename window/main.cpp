#include "window/frmmain.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    auto* first = new frmMain();
    first->setAttribute(Qt::WA_DeleteOnClose);
    first->show();
    return app.exec();
}
