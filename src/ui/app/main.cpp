// Start-up: one copy per user, the board's folder, its path file, the version stamp, the main window.
#include "app/AppStart.h"
#include "app/EndOfSession.h"
#include "app/Session.h"
#include "app/SingleInstance.h"
#include "app/StartArguments.h"
#include "mailbox/frmMain.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSettings>

#include <cstdio>

int main(int argc, char** argv) {
    // Help and version need no display, so they come before the application object.
    if (const auto text = kesto::ui::InfoOptionText(argc, argv)) {
        std::fputs(text->c_str(), stdout);
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kesto"));
    // Lets the desktop match the window to its menu entry and icon.
    QApplication::setDesktopFileName(QStringLiteral("org.kesto.Kesto"));
    QString error;
    const auto args = kesto::ui::ParseStartArguments(QApplication::arguments(), error);
    if (!args) {
        std::fputs(error.toLocal8Bit().constData(), stderr);
        return 2;
    }

    kesto::ui::SingleInstance instance(QStringLiteral("Kesto"));
    if (!instance.Claim()) return 0; // the running copy has been asked to come forward

    QSettings settings(QStringLiteral("kesto"), QStringLiteral("kesto"));
    const QString folder = kesto::ui::ChooseBoardFolder(*args, settings);
    if (folder.isEmpty()) return 0; // the folder dialog was cancelled
    // As if started there: the composer's file picker, for one, opens in the current folder.
    QDir::setCurrent(folder);

    kesto::ui::Session session;
    if (!kesto::ui::LoadBoard(QFile::encodeName(folder).toStdString(), session)) return 1;

    kesto::ui::frmMain window(session);
    instance.OnActivate([&window] { window.BringToFront(); });
    kesto::ui::EndOfSession ending;
    window.CloseOnEndOfSession(ending);
    window.Form_Load();
    return app.exec();
}
