#include "ui/Form1.h"
#include <QApplication>
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    cubwave::Form1 w;
    w.show();
    return app.exec();
}
