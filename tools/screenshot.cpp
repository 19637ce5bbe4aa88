// Renders the window headless to PNG for the documentation: as it opens, and
// optionally as it looks once connected with the track power on.

#include <QApplication>
#include <QTextStream>

#include "window/main.h"

namespace {

bool save(Main &window, const QString &fileName)
{
    if (window.grab().save(fileName))
        return true;
    QTextStream(stderr) << "window-screenshot: cannot write " << fileName << '\n';
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args.size() > 2) {
        QTextStream(stderr) << "usage: window-screenshot START.png [POWERED.png]\n";
        return 2;
    }

    Main window;
    window.show();
    QApplication::processEvents();
    if (!save(window, args[0]))
        return 1;
    if (args.size() == 2) {
        window.showConnected();
        window.showPowerOn();
        if (!save(window, args[1]))
            return 1;
    }
    return 0;
}
