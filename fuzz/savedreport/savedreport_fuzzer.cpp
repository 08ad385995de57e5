// Loads arbitrary bytes as a saved report and replays every page it lets
// through, as the preview would. A damaged file may only fail with an Error.

#include "base/error.h"
#include "preview/pagestore.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPicture>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>

// Font caches live as long as the process; they are not the reader's leaks.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\nleak:libQt6Gui\nleak:libQt6Core\n";
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Every damaged page image would otherwise print a warning.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    new QGuiApplication(*argc, *argv);
    return 0;
}

namespace {

// Through the preview's own replay, onto a small canvas.
void replay(const QPicture& page) {
    QImage canvas(64, 64, QImage::Format_RGB32);
    QPainter painter(&canvas);
    pellion::drawPageImage(painter, page, canvas.rect());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    pellion::PageList store;
    try {
        store.loadBytes(
            QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
        const int count = store.pageCount();
        // First, last and a step back: the three ways a page is found.
        for (int page : {1, count, count - 1, 2}) {
            if (std::optional<QPicture> picture = store.readPage(page))
                replay(*picture);
        }
    } catch (const pellion::Error&) {
        // Refused: the only acceptable outcome for a damaged file.
    }
    return 0;
}
