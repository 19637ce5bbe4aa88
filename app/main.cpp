#include <QApplication>

#include "actions/panel.h"
#include "window/main.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const auto window = createPanel();
    window->show();
    return app.exec();
}
