// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "simulatoroptions.h"

#include "clientsession.h"
#include "layoutreader.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

#include <cstring>
#include <optional>

namespace {

std::optional<int> wholeNumber(const QString &text, int low, int high)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

QHostAddress hostAddress(const QString &text)
{
    if (text == QLatin1String("localhost"))
        return QHostAddress(QHostAddress::LocalHost);
    return QHostAddress(text);
}

} // namespace

QString SimulatorOptions::manualPath()
{
    // Found from where the program is, so it names the right file whatever
    // the installation prefix.
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/" SIMULATOR_MANUAL_FROM_PROGRAM));
}

void SimulatorOptions::addTo(QCommandLineParser &parser)
{
    // Qt wraps the options' texts, never this one: one short sentence a line.
    parser.setApplicationDescription(
            QStringLiteral("Plays the command station on loopback, so the panel runs without hardware.\n"
                           "Prints every command it receives, with the client it came from.\n"
                           "Its manual: %1")
                    .arg(manualPath()));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({
            {QStringLiteral("host"), QStringLiteral("Listen on <address> (default 127.0.0.1)."),
             QStringLiteral("address"), QStringLiteral("127.0.0.1")},
            {QStringLiteral("port"),
             QStringLiteral("Listen on <port> (default %1; 0 picks a free port).").arg(kDefaultPort),
             QStringLiteral("port"), QString::number(kDefaultPort)},
            {QStringLiteral("chunk"),
             QStringLiteral("Write each reply in pieces of at most <N> bytes, %1 ms apart "
                            "(default 0: whole).")
                     .arg(ClientSession::kChunkPauseMs),
             QStringLiteral("N"), QStringLiteral("0")},
            {QStringLiteral("close-after"),
             QStringLiteral("Close a client after replying to its <N>-th command (default 0: never)."),
             QStringLiteral("N"), QStringLiteral("0")},
            {QStringLiteral("log"), QStringLiteral("Append every byte received from any client, raw, to <file>."),
             QStringLiteral("file")},
            {QStringLiteral("layout"),
             QStringLiteral("Hold the locomotives and accessories listed in the JSON <file> (at most %1 MiB) "
                            "instead of the built-in railway. A file with anything wrong in it ends the program "
                            "before it listens, with exit code 2. The format is in the manual.")
                     .arg(LayoutReader::kMaxFileBytes / (1024 * 1024)),
             QStringLiteral("file")},
            {QStringLiteral("view"),
             QStringLiteral("Open a window that shows the railway as commands change it: the track power, the "
                            "locomotives, the accessories and the connected clients. Needs a display.")},
            {QStringLiteral("burst"),
             QStringLiteral("Answer the command burst() with a locomotive list of at least <N> bytes, for "
                            "measuring how a client copes with a large reply (default 0: no such command)."),
             QStringLiteral("N"), QStringLiteral("0")},
    });
}

// Read from the words as given, before Qt is there to parse them; "--"
// ends the options. Help and the version are printed and the program
// stops, so they need no window even beside --view.
bool SimulatorOptions::wantsView(int argc, char **argv)
{
    bool view = false;
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        for (const char *printOnly : {"-h", "-?", "--help", "--help-all", "-v", "--version"}) {
            if (std::strcmp(argv[i], printOnly) == 0)
                return false;
        }
        view = view || std::strcmp(argv[i], "--view") == 0;
    }
    return view;
}

bool SimulatorOptions::read(const QCommandLineParser &parser)
{
    const QString hostText = parser.value(QStringLiteral("host"));
    host = hostAddress(hostText);
    const auto portValue = wholeNumber(parser.value(QStringLiteral("port")), 0, 65535);
    const auto chunkValue = wholeNumber(parser.value(QStringLiteral("chunk")), 0, 1 << 30);
    const auto closeValue = wholeNumber(parser.value(QStringLiteral("close-after")), 0, 1 << 30);
    const auto burstValue = wholeNumber(parser.value(QStringLiteral("burst")), 0, 1 << 30);
    logPath = parser.value(QStringLiteral("log"));
    const QStringList words = parser.positionalArguments();
    if (!words.isEmpty())
        errorString = QStringLiteral("\"%1\" is not an option: the simulator takes only the options --help lists")
                              .arg(words.first());
    else if (host.isNull())
        errorString = QStringLiteral("--host needs an IP address, not \"%1\"").arg(hostText);
    else if (!portValue)
        errorString = QStringLiteral("--port needs a number from 0 to 65535");
    else if (!chunkValue)
        errorString = QStringLiteral("--chunk needs a whole number, 0 or more");
    else if (!closeValue)
        errorString = QStringLiteral("--close-after needs a whole number, 0 or more");
    else if (!burstValue)
        errorString = QStringLiteral("--burst needs a whole number, 0 or more");
    else if (parser.isSet(QStringLiteral("log")) && logPath.isEmpty())
        errorString = QStringLiteral("--log needs a file name");
    else if (parser.isSet(QStringLiteral("layout")) && parser.value(QStringLiteral("layout")).isEmpty())
        errorString = QStringLiteral("--layout needs a file name");
    else {
        errorString.clear();
        port = quint16(*portValue);
        chunkSize = *chunkValue;
        closeAfter = *closeValue;
        burstBytes = *burstValue;
    }
    if (!errorString.isEmpty())
        return false;
    if (parser.isSet(QStringLiteral("layout"))) {
        const auto ownLayout = LayoutReader::readFile(parser.value(QStringLiteral("layout")), &errorString);
        if (!ownLayout)
            return false;
        layout = *ownLayout;
    }
    view = parser.isSet(QStringLiteral("view"));
    return true;
}
