// DecodeViewSettings/EncodeViewSettings round trip on arbitrary bytes.
#include "RecordRoundTrip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kesto;
    fuzz::RecordRoundTrip<ViewSettings>(
        data, size, kViewSettingsSize, [](std::string_view b) { return DecodeViewSettings(b); },
        [](const ViewSettings& r) { return EncodeViewSettings(r); },
        [](ViewSettings& a, const ViewSettings& b) {
            a.Top = b.Top;
            a.Left = b.Left;
            a.Width = b.Width;
            a.Height = b.Height;
            a.WindowState = b.WindowState;
            a.SortedColumn = b.SortedColumn;
            a.SortOrder = b.SortOrder;
            a.ColumnWidths = b.ColumnWidths;
        },
        [](const ViewSettings& a, const ViewSettings& b) {
            return a.Top == b.Top && a.Left == b.Left && a.Width == b.Width && a.Height == b.Height &&
                   a.WindowState == b.WindowState && a.SortedColumn == b.SortedColumn &&
                   a.SortOrder == b.SortOrder && a.ColumnWidths == b.ColumnWidths;
        });
    return 0;
}
