#include "reader/frmAbout.h"

#include "app/ScreenFit.h"

#include "ErrorLog.h"

#include <QDesktopServices>
#include <QEvent>
#include <QFont>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace kesto::ui {

namespace {
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int points = 8, bool bold = false) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setTextFormat(Qt::PlainText);
    QFont f(QStringLiteral("Tahoma"), points);
    f.setBold(bold);
    l->setFont(f);
    return l;
}

QFrame* MakeLine(QWidget* parent, const char* name) {
    auto* line = new QFrame(parent);
    line->setObjectName(QLatin1String(name));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}
} // namespace

QString frmAbout::GetWebAddress() {
    return QStringLiteral("https://kesto.example.org/");
}
QString frmAbout::GetSupportAddress() {
    return QStringLiteral("support@kesto.example.org");
}

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("Kesto - About"));
    setModal(true);
    setFont(QFont(QStringLiteral("Tahoma"), 8));

    auto* lblProduct = MakeLabel(this, "lblProduct", QStringLiteral("Kesto"), 18, true);
    auto* lblTitle = MakeLabel(this, "lblTitle", QStringLiteral("- External Mail Reader for Halkmoor"), 10);
    auto* lblVersion = MakeLabel(this, "lblVersion", QString());
    auto* lblCopyright = MakeLabel(this, "lblCopyright",
                                   QStringLiteral("Copyright (c) Kesto developers. Free to use and share."));
    // The Silk icons are CC BY 2.5: the licence asks for this credit wherever they are shown.
    auto* lblCredits = MakeLabel(
        this, "lblCredits", QStringLiteral("Icons: Silk icon set by Mark James, licensed under CC BY 2.5."));
    lblCredits->setWordWrap(true);
    auto* lblDisclaimer = MakeLabel(this, "lblDisclaimer", QString());
    lblDisclaimer->setWordWrap(true);
    lblWebLink = MakeLabel(this, "lblWebLink", GetWebAddress());
    lblWebLink->setCursor(Qt::PointingHandCursor);
    lblWebLink->setToolTip(QStringLiteral("Double-click to open the web page."));
    // The link colour of the palette in use, light or dark.
    lblWebLink->setForegroundRole(QPalette::Link);
    lblWebLink->installEventFilter(this);

    auto* cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);

    lblVersion->setText(QStringLiteral("Version ") +
                        QString::fromLatin1(kesto::AppVersion.data(), qsizetype(kesto::AppVersion.size())));
    lblDisclaimer->setText(
        QStringLiteral(
            "If you have any suggestions or comments regarding this program, please send an email to ") +
        GetSupportAddress() + QLatin1Char('.'));

    auto* heading = new QHBoxLayout;
    heading->addWidget(lblProduct);
    heading->addWidget(lblTitle, 1, Qt::AlignBottom);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(heading);
    layout->addWidget(MakeLine(this, "Line1"));
    layout->addWidget(lblVersion);
    layout->addWidget(lblCopyright);
    layout->addWidget(lblDisclaimer);
    layout->addWidget(lblWebLink);
    layout->addWidget(lblCredits);
    layout->addWidget(MakeLine(this, "Line2"));
    layout->addLayout(buttons);
    setFixedWidth(380);
    KeepOnScreen(this);
}

void frmAbout::lblWebLink_DblClick() {
    QDesktopServices::openUrl(QUrl(GetWebAddress()));
}

void frmAbout::cmdOK_Click() {
    accept();
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lblWebLink && event->type() == QEvent::MouseButtonDblClick) {
        lblWebLink_DblClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace kesto::ui
