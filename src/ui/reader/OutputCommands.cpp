#include "reader/OutputCommands.h"
#include "app/BoardText.h"

#include "app/Dialogs.h"
#include "app/Session.h"

#include "StringHelpers.h"
#include "TextHelpers.h"
#include "Cp1252.h"
#include "ErrorLog.h"
#include "MessageOutput.h"
#include "platform/BoardPath.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>

#include <vector>

namespace kesto::ui {

namespace {

constexpr std::string_view kModule = "modKesto";

QFont PrintFont(double points, bool bold) {
    QFont f(QStringLiteral("Courier New"));
    // Courier New is rarely installed outside Windows; any fixed-pitch face keeps the columns.
    f.setStyleHint(QFont::Monospace, QFont::PreferDefault);
    f.setFixedPitch(true);
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

// Millimetres on the device, from the top left corner of the printable area.
class MmPainter {
  public:
    MmPainter(QPainter& p, QPaintDevice& d)
        : p_(p), dpmmX_(d.logicalDpiX() / 25.4), dpmmY_(d.logicalDpiY() / 25.4), width_(d.width() / dpmmX_),
          height_(d.height() / dpmmY_) {}

    double GetWidth() const { return width_; }
    double GetHeight() const { return height_; }
    void SetFont(const QFont& f) { p_.setFont(f); }
    double GetTextWidth(const QString& t) const {
        return QFontMetricsF(p_.font(), p_.device()).horizontalAdvance(t) / dpmmX_;
    }
    double GetLineHeight() const { return QFontMetricsF(p_.font(), p_.device()).height() / dpmmY_; }
    // Prints with the text's top at `top`, as the printer object places text.
    void DrawText(double left, double top, const QString& t) {
        double ascent = QFontMetricsF(p_.font(), p_.device()).ascent();
        p_.drawText(QPointF(left * dpmmX_, top * dpmmY_ + ascent), t);
    }
    void DrawBar(double x1, double y1, double x2, double y2) {
        p_.fillRect(QRectF(QPointF(x1 * dpmmX_, y1 * dpmmY_), QPointF(x2 * dpmmX_, y2 * dpmmY_)), Qt::black);
    }

  private:
    QPainter& p_;
    double dpmmX_, dpmmY_;
    double width_, height_;
};

} // namespace

int PaintMessagePages(QPainter& painter, QPagedPaintDevice& device, const kesto::MessageOutput& out) {
    MmPainter mm(painter, device);
    const QFont body = PrintFont(10, false);
    const QFont title = PrintFont(10, true);
    const QFont header = PrintFont(11, false);
    int page = 1;
    double top = 0;

    auto pageStart = [&] {
        mm.SetFont(body);
        QString footer = QStringLiteral("Page ") + QString::number(page);
        mm.DrawText(mm.GetWidth() / 2 - mm.GetTextWidth(footer) / 2, mm.GetHeight() - 10, footer);
        mm.SetFont(title);
        mm.DrawText(10, 10,
                    QStringLiteral("Kesto v") +
                        QString::fromLatin1(kesto::AppVersion.data(), qsizetype(kesto::AppVersion.size())));
        mm.DrawBar(10, 15, mm.GetWidth() - 10, 15.5);
        mm.SetFont(body);
        top = 20;
    };

    pageStart();
    mm.SetFont(header);
    for (const auto& line : out.header) {
        mm.DrawText(10, top, FromBoard(line));
        top += mm.GetLineHeight();
    }
    top += mm.GetLineHeight();
    mm.SetFont(body);

    for (const std::string& line : kesto::Explode(kesto::kCrLf, out.body, 0, 0)) {
        if (mm.GetHeight() - top < 20) {
            device.newPage();
            ++page;
            pageStart();
        }
        mm.DrawText(10, top, FromBoard(line));
        top += mm.GetLineHeight();
    }
    return page;
}

bool PrintMessage(QWidget* parent, Session& s, kesto::RecordNo number) {
    const kesto::Result<kesto::MessageOutput> out =
        kesto::LoadMessageOutput(s.board, s.CurrentMailbox, number);
    if (!out) return false;
    QPrinter printer(QPrinter::HighResolution);
    if (!GetDialogs().ChoosePrinter(parent, printer)) return false;
    QPainter painter;
    if (!painter.begin(&printer)) {
        kesto::LogError(s.board.log, "PrintMessage", kesto::AppVersion, kModule, "Printer error");
        return false;
    }
    PaintMessagePages(painter, printer, *out);
    if (!painter.end()) {
        kesto::LogError(s.board.log, "PrintMessage", kesto::AppVersion, kModule, "Printer error");
        return false;
    }
    GetDialogs().ShowMessage(parent, Dialogs::Icon::Information, QStringLiteral("Kesto - Print Message"),
                             QStringLiteral("Message sent to printer."));
    ResetCommonDialog(s);
    return true;
}

bool SaveMessage(QWidget* parent, Session& s, kesto::RecordNo number) {
    const kesto::Result<kesto::MessageOutput> out =
        kesto::LoadMessageOutput(s.board, s.CurrentMailbox, number);
    if (!out) return false;
    QString defaultName =
        FromBoard(kesto::SafeFileName(kesto::Trim(out->info.Subject))) + QStringLiteral(".txt");
    QString path =
        GetDialogs().GetSaveFileName(parent, QStringLiteral("Save Message"), QString(), defaultName,
                                     QStringLiteral("Text File (*.txt);;AllFiles (*.*)"));
    if (path.isEmpty()) return false;
    if (!kesto::WriteSavedMessage(s.board, QFile::encodeName(path).toStdString(),
                                  kesto::SaveFileContent(*out)))
        return false;
    GetDialogs().ShowMessage(parent, Dialogs::Icon::Information, QStringLiteral("Kesto - Save Message"),
                             QStringLiteral("Message saved."));
    ResetCommonDialog(s);
    return true;
}

void ResetCommonDialog(Session& s) {
    std::string main = kesto::platform::NativePath(kesto::Trim(s.board.paths.MainPath()), s.board.startDir);
    if (!QDir::setCurrent(QFile::decodeName(main.c_str())))
        kesto::LogError(s.board.log, "ResetCommonDialog", kesto::AppVersion, kModule, "Path not found");
}

} // namespace kesto::ui
