// Form coordinates are kept in twips (1/1440 inch) as the settings file stores
// them; the screen's logical DPI converts them to and from pixels.
#pragma once

class QWidget;

namespace kesto::ui {

// Logical DPI of the screen `w` is on (the primary screen when w is null or not yet placed).
double ScreenDpi(const QWidget* w = nullptr);
// twips = pixels * 1440 / dpi, rounded to the nearest whole twip.
int PixelsToTwips(double pixels, double dpi);
// pixels = twips * dpi / 1440, rounded to the nearest whole pixel.
int TwipsToPixels(double twips, double dpi);

} // namespace kesto::ui
