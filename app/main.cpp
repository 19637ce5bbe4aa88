#include <QApplication>

#include "actions/panel.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const auto window = createPanel();
    window->show();
    return app.exec();
}
