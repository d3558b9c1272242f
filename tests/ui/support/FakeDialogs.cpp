#include "FakeDialogs.h"

#include <QPrinter>

namespace kesto::test {

bool FakeDialogs::ChoosePrinter(QWidget*, QPrinter& printer) {
    if (printToPdf.isEmpty()) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(printToPdf);
    return true;
}

} // namespace kesto::test
