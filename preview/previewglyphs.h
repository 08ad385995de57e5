#pragma once

// The pictures on the preview's toolbar buttons: the desktop's icon theme
// where it has the icon, else a pictogram drawn here, so every button shows
// a clear picture on any desktop.

#include <QIcon>
#include <QString>

namespace pellion {

enum class PreviewGlyph {
    ZoomToFit,
    Zoom100,
    ZoomToWidth,
    FirstPage,
    PreviousPage,
    NextPage,
    LastPage,
    PrinterSetup,
    Print,
    SaveReport,
    LoadReport,
    SaveAsPdf,
};

// The freedesktop icon name looked up in the theme.
QString themeIconName(PreviewGlyph glyph);
// The theme's icon, or the drawn one when the theme has none.
QIcon previewIcon(PreviewGlyph glyph);
// The drawn pictogram, at 16 x 16 and at twice that for dense screens.
QIcon drawnPreviewIcon(PreviewGlyph glyph);

} // namespace pellion
