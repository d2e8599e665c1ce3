#include "app/app_context.h"
#include "app/front_label.h"
#include "app/message_box.h"
#include "app/quit_application.h"
#include "app/resources.h"
#include "app/single_instance.h"
#include "app/ui_font.h"
#include "app/version.h"
#include "app/window_flow.h"
#include "app/window_icon.h"
#include "entry/frm_main.h"
#include "entry/people_store.h"

#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string_view>
#include <thread>
#include <utility>

namespace {

constexpr std::string_view kProgram = "vadiveziduzor";

constexpr std::string_view kUsage =
    "Usage: vadiveziduzor [OPTION]...\n"
    "Tells a couple how well their Moon signs match: type both people's birth\n"
    "details into the window and ask for the reading.\n"
    "\n"
    "  -h, --help     show this help and exit\n"
    "  -v, --version  show the version and exit\n"
    "\n"
    "Qt's own options (-platform, -display, -style and the others Qt knows)\n"
    "are passed on to Qt. The program needs a graphical display.\n";

constexpr std::string_view kVersionText =
    "RU Zuva Zize Vadiveziduzor " ZUVA_VERSION "\n"
    "Copyright (C) 2026 Zuva Zize Software\n"
    "License GPL-3.0-or-later: GNU General Public License, version 3 or later.\n"
    "This is free software: you are free to change and redistribute it.\n"
    "There is NO WARRANTY, to the extent permitted by law.\n"
    "Place names and coordinates: GeoNames, CC BY 4.0\n";

// Options Qt reads itself when the application object is made, and whether
// each takes a value in the next argument (or after '=').
struct QtOption {
    std::string_view name;
    bool takesValue;
};
constexpr std::array kQtOptions{
    QtOption{"platform", true},   QtOption{"platformpluginpath", true}, QtOption{"platformtheme", true},
    QtOption{"plugin", true},     QtOption{"qmljsdebugger", true},      QtOption{"qwindowgeometry", true},
    QtOption{"geometry", true},   QtOption{"qwindowicon", true},        QtOption{"icon", true},
    QtOption{"qwindowtitle", true}, QtOption{"title", true},            QtOption{"session", true},
    QtOption{"display", true},    QtOption{"name", true},               QtOption{"style", true},
    QtOption{"stylesheet", true}, QtOption{"reverse", false},           QtOption{"widgetcount", false},
    QtOption{"nograb", false},    QtOption{"dograb", false},            QtOption{"sync", false},
};

enum class CommandLine { Run, Help, Version, Bad };

// Read before any application object exists, so that help and version need
// no display. The first of our own options decides; anything else that Qt
// does not know is refused.
CommandLine ReadCommandLine(int argc, char *argv[], std::string_view &offending)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "-h" || arg == "--help")
            return CommandLine::Help;
        if (arg == "-v" || arg == "--version")
            return CommandLine::Version;
        if (arg.size() < 2 || arg[0] != '-') {
            offending = arg;
            return CommandLine::Bad;
        }
        std::string_view name = arg.substr(arg.starts_with("--") ? 2 : 1);
        const auto equals = name.find('=');
        const bool valueAttached = equals != std::string_view::npos;
        name = name.substr(0, equals);
        const auto known = std::find_if(kQtOptions.begin(), kQtOptions.end(),
                                        [name](const QtOption &o) { return o.name == name; });
        if (known == kQtOptions.end() || (valueAttached && !known->takesValue)) {
            offending = arg;
            return CommandLine::Bad;
        }
        if (known->takesValue && !valueAttached && ++i == argc) {
            offending = arg;
            return CommandLine::Bad;
        }
    }
    return CommandLine::Run;
}

// True when Qt would find nothing to show the window on: no X or Wayland
// display and no platform asked for. Qt would abort there; a plain message
// and exit status 1 serve better.
bool NoDisplay(int argc, char *argv[])
{
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char *value = std::getenv(name);
        if (value && *value)
            return false;
    }
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        arg.remove_prefix(arg.starts_with("--") ? 2 : 1);
        if (arg == "platform" || arg.starts_with("platform=") || arg == "display" || arg.starts_with("display="))
            return false;
    }
    return true;
}

void Print(std::FILE *stream, std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), stream);
}

// The value given to one of Qt's options ("-display :1", "--display=:1"),
// the last one when given twice; empty when not given.
std::string OptionValue(int argc, char *argv[], std::string_view option)
{
    std::string value;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg.size() < 2 || arg[0] != '-')
            continue;
        arg.remove_prefix(arg.starts_with("--") ? 2 : 1);
        if (arg == option && i + 1 < argc)
            value = argv[++i];
        else if (arg.starts_with(option) && arg.size() > option.size() && arg[option.size()] == '=')
            value = arg.substr(option.size() + 1);
    }
    return value;
}

// Qt reads a style sheet named on the command line whole, whatever it is:
// only a plain file of a sensible size is let through.
constexpr qint64 kMostStyleSheetBytes = 1024 * 1024;
bool StyleSheetUsable(const std::string &file)
{
    const QFileInfo info(QString::fromLocal8Bit(file));
    return file.empty() || (info.isFile() && info.size() <= kMostStyleSheetBytes);
}

// What Qt was asked to show the window on, for a message when it cannot.
std::string DisplayTried(int argc, char *argv[])
{
    std::string platform = OptionValue(argc, argv, "platform");
    if (platform.empty() && std::getenv("QT_QPA_PLATFORM"))
        platform = std::getenv("QT_QPA_PLATFORM");
    std::string display = OptionValue(argc, argv, "display");
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        if (display.empty() && std::getenv(name) && *std::getenv(name))
            display = std::getenv(name);
    }
    return "platform \"" + (platform.empty() ? std::string("default") : platform) + "\", display \""
        + (display.empty() ? std::string("none") : display) + "\"";
}

// While Qt starts, a fatal message means that no platform could be opened:
// Qt would abort and speak of reinstalling; a plain message and exit status
// 1 serve better, as for no display at all.
std::string g_displayTried;
QtMessageHandler g_qtHandler = nullptr;
void StartupMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtFatalMsg) {
        g_qtHandler(type, context, message);
        return;
    }
    const QByteArray reason = message.section(QLatin1Char('.'), 0, 0).toLocal8Bit();
    Print(stderr, kProgram);
    Print(stderr, ": the window cannot be shown: Qt could not open the display (tried ");
    Print(stderr, g_displayTried);
    Print(stderr, "): ");
    Print(stderr, std::string_view(reason.constData(), std::size_t(reason.size())));
    Print(stderr, ".\n");
    std::fflush(stderr);
    std::_Exit(1);
}

// Runs a task once, when a window has drawn its first frame: queued behind
// that paint, so the frame reaches the screen first.
class AfterFirstPaint : public QObject {
public:
    AfterFirstPaint(QWidget *window, std::function<void()> task) : QObject(window), m_task(std::move(task))
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && m_task) {
            watched->removeEventFilter(this);
            QMetaObject::invokeMethod(
                this,
                [this] {
                    std::exchange(m_task, {})();
                    deleteLater();
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    std::function<void()> m_task;
};

} // namespace

int main(int argc, char *argv[])
{
    std::string_view offending;
    switch (ReadCommandLine(argc, argv, offending)) {
    case CommandLine::Help:
        Print(stdout, kUsage);
        return std::fflush(stdout) == 0 ? 0 : 1;
    case CommandLine::Version:
        Print(stdout, kVersionText);
        return std::fflush(stdout) == 0 ? 0 : 1;
    case CommandLine::Bad:
        Print(stderr, kProgram);
        Print(stderr, ": unknown option or argument '");
        Print(stderr, offending);
        Print(stderr, "'\n");
        Print(stderr, kUsage);
        return 2;
    case CommandLine::Run:
        break;
    }
    if (NoDisplay(argc, argv)) {
        Print(stderr, kProgram);
        Print(stderr, ": no display to show the window on (neither DISPLAY nor WAYLAND_DISPLAY is set)\n");
        return 1;
    }
    if (const std::string sheet = OptionValue(argc, argv, "stylesheet"); !StyleSheetUsable(sheet)) {
        Print(stderr, kProgram);
        Print(stderr, ": the style sheet '");
        Print(stderr, sheet);
        Print(stderr, "' is not a plain file of at most 1 MB\n");
        return 2;
    }

    g_displayTried = DisplayTried(argc, argv);
    g_qtHandler = qInstallMessageHandler(StartupMessage);
    QApplication app(argc, argv);
    qInstallMessageHandler(g_qtHandler);
    InitResources();
    LimitPixmapCache();
    QApplication::setApplicationName(QStringLiteral("RU Zuva Zize Vadiveziduzor"));
    QApplication::setApplicationVersion(QString::fromLatin1(ProgramVersion));
    QApplication::setDesktopFileName(QStringLiteral("org.example.zuvazize.vadiveziduzor"));
    QApplication::setWindowIcon(WindowIcon());
    QApplication::setFont(VerdanaFont(9));

    SingleInstance instance;
    switch (instance.tryAcquire()) {
    case SingleInstance::Outcome::Acquired:
        QObject::connect(&instance, &SingleInstance::raiseRequested, &SingleInstance::raiseWindows);
        instance.listen();
        break;
    case SingleInstance::Outcome::Running:
        instance.askRunningCopyToRaise();
        MessageBox::show(nullptr, QStringLiteral("Application is already running"), QMessageBox::Information);
        return 0;
    case SingleInstance::Outcome::Unavailable:
        MessageBox::show(nullptr,
                         QStringLiteral("The program cannot make sure that only one copy of it runs, so it does not "
                                        "start.\n\n%1").arg(instance.problem()),
                         QMessageBox::Critical);
        return 1;
    }

    AppContext context;
    context.atlas = MakeSystemAtlas();
    context.people = std::make_shared<PeopleStore>();
    WindowFlow flow(context);
    QObject::connect(&flow, &WindowFlow::quitRequested, QuitApplication);
    frmMain &window = flow.birthDetails();
    // The place index is built on a worker thread as soon as the window has
    // drawn its first frame, well before a user can have typed a city, so
    // that the first offers come as fast as the later ones while the start
    // keeps both processors of a small machine.
    std::jthread preparing;
    new AfterFirstPaint(&window, [&] { preparing = PrepareInBackground(context.atlas); });
    switch (FrontLabelFromDraw(QRandomGenerator::global()->generateDouble())) {
    case FrontLabel::Cobrand:
        window.BringAdvertToFront(true);
        break;
    case FrontLabel::FullBrand:
        window.BringAdvertToFront(false);
        break;
    case FrontLabel::Unchanged:
        break;
    }
    flow.start();

    return app.exec();
}
