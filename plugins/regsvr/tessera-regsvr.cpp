// tessera-regsvr: registers a component module in the registry's classes
// root, as the original platform's regsvr32 registered its servers.
//
//     tessera-regsvr [/u] [/machine] [/s] MODULE.so
//     tessera-regsvr /? | -h | --help
//
// /u removes the registration, /machine works on the machine's hive instead
// of the current user's, /s prints nothing on success. The exit code is 0 on
// success, else 1 (2 for a bad command line).
#include "platform/ComponentRegistration.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

using tessera::ComponentRegistration;

namespace {

const char Usage[] = R"(Usage: tessera-regsvr [/u] [/machine] [/s] MODULE
       tessera-regsvr /? | -h | --help

Registers the classes of a component module (a Qt plugin of the suite, such
as <libdir>/tessera/components/libEventLoggerSyslog.so) in the registry's
classes root, so that programs can create them by name.

Options:
  /u              remove the module's registration instead
  /machine        register for every user (the machine's hive) instead of for
                  the current user
  /s              print nothing on success
  /?, -h, --help  show this help and exit
)";

int usageError(const char *reason)
{
    std::fprintf(stderr, "tessera-regsvr: %s (see tessera-regsvr --help)\n", reason);
    return 2;
}

bool isHelp(const QStringList &args)
{
    return args.size() == 1
        && (args.first() == QLatin1String("/?") || args.first() == QLatin1String("-h")
            || args.first() == QLatin1String("--help"));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    bool unregister = false;
    bool silent = false;
    auto scope = ComponentRegistration::Scope::CurrentUser;
    QString module;
    const QStringList args = app.arguments().mid(1);
    if (isHelp(args)) {
        std::fputs(Usage, stdout);
        return 0;
    }
    for (const QString &arg : args) {
        if (arg.compare(QLatin1String("/u"), Qt::CaseInsensitive) == 0)
            unregister = true;
        else if (arg.compare(QLatin1String("/machine"), Qt::CaseInsensitive) == 0)
            scope = ComponentRegistration::Scope::Machine;
        else if (arg.compare(QLatin1String("/s"), Qt::CaseInsensitive) == 0)
            silent = true;
        // Anything else names the module (an absolute path starts with "/" too).
        else if (module.isEmpty())
            module = arg;
        else
            return usageError("more than one module named");
    }
    if (module.isEmpty())
        return usageError("no module named");

    QString error;
    const qint32 rc = unregister ? ComponentRegistration::unregisterModule(module, scope, &error)
                                 : ComponentRegistration::registerModule(module, scope, &error);
    if (rc != 0) {
        std::fprintf(stderr, "tessera-regsvr: %s\n", qUtf8Printable(error));
        return 1;
    }
    if (!silent)
        std::printf("%s %s\n", unregister ? "Unregistered" : "Registered", qUtf8Printable(module));
    return 0;
}
