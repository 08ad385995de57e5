// The page store and the saved-report file: records, reading in any order,
// the move to a temporary file, save and load, and damaged files refused.

#include "preview/pagestore.h"

#include "base/error.h"
#include "preview/pagestream.h"
#include "report/pageimage.h"
#include "tests/errortext.h"
#include "tests/qtapplication.h"
#include "tests/report/pagerecorder.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPicture>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <vector>

namespace pellion {
namespace {

using namespace savedreport;
using testing::errorText;

// Distinct page contents of varying length, so a page read from the wrong
// record cannot pass for the right one.
QByteArray imageOf(int page, int length = 0) {
    QByteArray image = QByteArray::number(page).repeated(1 + page % 7);
    image.append(QByteArray(length, static_cast<char>('a' + page % 26)));
    return image;
}

std::int32_t int32At(const QByteArray& bytes, qint64 offset) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<std::uint8_t>(bytes[offset + i]);
    return static_cast<std::int32_t>(value);
}

void setInt32At(QByteArray& bytes, qint64 offset, std::int32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] =
            static_cast<char>((static_cast<std::uint32_t>(value) >> (8 * i)) & 0xff);
}

QByteArray storeBytes(PageList& store) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    store.copyTo(buffer);
    return bytes;
}

void fillStore(PageList& store, int pages, int imageLength = 0) {
    store.startDocument();
    for (int page = 1; page <= pages; ++page)
        store.appendPageImage(imageOf(page, imageLength));
    store.finishDocument(pages);
}

class TempFolder : public ::testing::Test {
protected:
    QString path(const QString& name) const { return m_dir.filePath(name); }
    void writeFile(const QString& name, const QByteArray& bytes) const {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray readFile(const QString& name) const {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    QTemporaryDir m_dir;
};

TEST(PageStore, LaysOutHeaderAndChainedRecords) {
    PageList store;
    fillStore(store, 3);
    const QByteArray bytes = storeBytes(store);

    qint64 expectedLength = headerSize;
    for (int page = 1; page <= 3; ++page)
        expectedLength += recordFrameSize + imageOf(page).size();
    ASSERT_EQ(bytes.size(), expectedLength);

    EXPECT_EQ(static_cast<std::uint8_t>(bytes[0]) | static_cast<std::uint8_t>(bytes[1]) << 8, 3);
    EXPECT_EQ(static_cast<std::uint8_t>(bytes[2]) | static_cast<std::uint8_t>(bytes[3]) << 8, 309);
    EXPECT_EQ(int32At(bytes, pageCountOffset), 3);
    EXPECT_EQ(bytes[compressionOffset], 0);
    std::uint64_t timeBits = 0;
    std::memcpy(&timeBits, bytes.constData() + creationTimeOffset, 8);
    const double created = std::bit_cast<double>(timeBits);
    EXPECT_NEAR(created, daysSince1899(QDateTime::currentDateTime()), 1.0 / 24 / 60);

    qint64 start = headerSize;
    for (int page = 1; page <= 3; ++page) {
        SCOPED_TRACE(page);
        EXPECT_EQ(int32At(bytes, start), page);
        const qint64 next = int32At(bytes, start + 4);
        EXPECT_EQ(bytes.mid(start + 8, next - start - 12), imageOf(page));
        EXPECT_EQ(int32At(bytes, next - 4), start);
        start = next;
    }
    EXPECT_EQ(start, bytes.size());
}

TEST(PageStore, CreationTimeCountsDaysFromTheEndOf1899) {
    EXPECT_EQ(daysSince1899(QDateTime(QDate(1899, 12, 30), QTime(0, 0))), 0.0);
    EXPECT_EQ(daysSince1899(QDateTime(QDate(1900, 1, 1), QTime(18, 0))), 2.75);
    EXPECT_EQ(daysSince1899(QDateTime(QDate(2000, 1, 1), QTime(0, 0))), 36526.0);
}

TEST(PageStore, HeaderCountsOnePageUntilFinished) {
    PageList store;
    store.startDocument();
    store.appendPageImage(imageOf(1));
    store.appendPageImage(imageOf(2));
    EXPECT_EQ(int32At(storeBytes(store), pageCountOffset), 1);
    store.finish();
    EXPECT_EQ(int32At(storeBytes(store), pageCountOffset), 2);
}

TEST(PageStore, ReadsPagesInAnyOrder) {
    struct Case {
        const char* situation;
        std::vector<int> order;
    };
    const Case cases[] = {
        {"forwards", {1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {"backwards", {9, 8, 7, 6, 5, 4, 3, 2, 1}},
        {"jumps both ways from the middle", {5, 2, 8, 3, 3, 7, 1, 6, 9, 4}},
        {"first, last, then inner pages", {1, 9, 5, 9, 2, 1, 8}},
    };
    PageList store;
    fillStore(store, 9, 50);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        for (int page : c.order) {
            SCOPED_TRACE(page);
            const std::optional<QByteArray> image = store.readPageImage(page);
            ASSERT_TRUE(image.has_value());
            EXPECT_EQ(*image, imageOf(page, 50));
        }
    }
    EXPECT_FALSE(store.readPageImage(0));
    EXPECT_FALSE(store.readPageImage(10));
}

TEST(PageStore, ReadsWhileTheRunStillAppends) {
    PageList store;
    store.startDocument();
    for (int page = 1; page <= 6; ++page) {
        store.appendPageImage(imageOf(page));
        EXPECT_EQ(store.readPageImage(page), imageOf(page));
        EXPECT_EQ(store.readPageImage(1), imageOf(1));
        EXPECT_FALSE(store.readPageImage(page + 1));
    }
}

TEST(PageStore, MovesALongReportToATemporaryFileDeletedOnRelease) {
    PageList store;
    store.startDocument();
    int page = 0;
    while (store.stream().size() + recordFrameSize + 1000 <= PageStream::memoryLimit) {
        store.appendPageImage(imageOf(++page, 1000));
        ASSERT_TRUE(store.stream().inMemory());
    }
    store.appendPageImage(imageOf(++page, 1000));
    EXPECT_FALSE(store.stream().inMemory());
    const QString tempName = store.stream().temporaryFileName();
    const QFileInfo info(tempName);
    EXPECT_TRUE(info.fileName().startsWith(QStringLiteral("PRP"))) << tempName.toStdString();
    EXPECT_EQ(info.absolutePath(), QFileInfo(QDir::tempPath()).absoluteFilePath());
    EXPECT_TRUE(info.exists());

    store.appendPageImage(imageOf(++page, 1000));
    store.finish();
    for (int n : {1, page, page / 2, 2})
        EXPECT_EQ(store.readPageImage(n), imageOf(n, 1000)) << n;

    store.release();
    EXPECT_FALSE(QFileInfo::exists(tempName));
    EXPECT_EQ(store.pageCount(), 0);
}

TEST(PageStore, DeletesTheTemporaryFileWithTheStore) {
    QString tempName;
    {
        PageList store;
        fillStore(store, 3, 60000);
        tempName = store.stream().temporaryFileName();
        ASSERT_TRUE(QFileInfo::exists(tempName));
    }
    EXPECT_FALSE(QFileInfo::exists(tempName));
}

TEST(PageStore, KeepsThePageSizeOfAPicture) {
    testApplication();
    QPicture page;
    QPainter painter(&page);
    painter.fillRect(QRect(100, 100, 50, 20), Qt::white);
    painter.drawText(120, 130, QStringLiteral("Kettle"));
    painter.end();
    page.setBoundingRect(QRect(0, 0, 816, 1056));

    PageList store;
    store.startDocument();
    store.appendPageImage(encodePageImage(page));
    store.finishDocument(1);
    const std::optional<QPicture> read = store.readPage(1);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->boundingRect(), QRect(0, 0, 816, 1056));
}

class SavedReport : public TempFolder {};

TEST_F(SavedReport, SaveAndLoadGiveTheSamePages) {
    PageList produced;
    fillStore(produced, 7, 20000); // in a temporary file by now
    produced.saveToFile(path("report.PRP"));
    EXPECT_EQ(readFile("report.PRP"), storeBytes(produced));

    PageList loaded;
    loaded.load(path("report.PRP"));
    EXPECT_TRUE(loaded.loaded());
    ASSERT_EQ(loaded.pageCount(), 7);
    for (int page : {1, 7, 4, 2, 6, 3, 5})
        EXPECT_EQ(loaded.readPageImage(page), imageOf(page, 20000)) << page;
}

TEST_F(SavedReport, SavingReplacesAnExistingFile) {
    writeFile("report.PRP", QByteArray(300000, 'x'));
    PageList store;
    fillStore(store, 2);
    store.saveToFile(path("report.PRP"));
    EXPECT_EQ(readFile("report.PRP"), storeBytes(store));
}

TEST_F(SavedReport, SavingOntoTheLoadedFileIsRefusedAndLeavesItIntact) {
    PageList produced;
    fillStore(produced, 2);
    produced.saveToFile(path("report.PRP"));
    const QByteArray before = readFile("report.PRP");

    PageList loaded;
    loaded.load(path("report.PRP"));
    EXPECT_EQ(errorText([&] { loaded.saveToFile(path("report.PRP")); }),
              "Cannot create file " + QDir::toNativeSeparators(path("report.PRP")).toStdString());
    EXPECT_EQ(readFile("report.PRP"), before);
    EXPECT_EQ(loaded.readPageImage(2), imageOf(2));
}

TEST_F(SavedReport, SavingIntoAMissingFolderFailsWithoutAFile) {
    PageList store;
    fillStore(store, 1);
    EXPECT_THROW(store.saveToFile(path("no/such/folder/report.PRP")), Error);
    EXPECT_FALSE(QFileInfo::exists(path("no/such/folder/report.PRP")));
}

TEST_F(SavedReport, RecognisesTheOlderShortHeader) {
    // An older file: 124-byte header, then a record whose image carries the
    // " EMF" signature at its offset 40.
    QByteArray image(80, '\0');
    std::memcpy(image.data() + 40, " EMF", 4);
    QByteArray file(olderHeaderSize, '\0');
    file[0] = 1; // not our format version: only the signature decides
    setInt32At(file, pageCountOffset, 1);
    const qint64 start = file.size();
    file.append(QByteArray(8, '\0'));
    setInt32At(file, start, 1);
    setInt32At(file, start + 4, static_cast<std::int32_t>(start + 12 + image.size()));
    file.append(image);
    file.append(QByteArray(4, '\0'));
    setInt32At(file, file.size() - 4, static_cast<std::int32_t>(start));
    ASSERT_EQ(file.mid(olderSignatureOffset, 4), QByteArray("EMF\0", 4));
    writeFile("old.PRP", file);

    PageList store;
    store.load(path("old.PRP"));
    EXPECT_EQ(store.headerLength(), olderHeaderSize);
    EXPECT_EQ(store.readPageImage(1), image);
    // Its pages are the other platform's drawings, which this one cannot replay.
    testApplication();
    EXPECT_THROW(store.readPage(1), Error);
}

TEST_F(SavedReport, MissingFileCannotBeOpened) {
    PageList store;
    fillStore(store, 2);
    EXPECT_EQ(errorText([&] { store.load(path("absent.PRP")); }),
              "Cannot open file " + QDir::toNativeSeparators(path("absent.PRP")).toStdString());
    EXPECT_EQ(store.pageCount(), 0);
}

// A valid three-page file with one fault each. Every one is refused with an
// error when loaded (or, for a page image that is not a drawing, when that
// page is read), never read past its end.
TEST_F(SavedReport, RefusesDamagedFiles) {
    PageList good;
    fillStore(good, 3, 10);
    const QByteArray valid = storeBytes(good);
    const qint64 first = headerSize;
    const qint64 second = int32At(valid, first + 4);
    const qint64 third = int32At(valid, second + 4);

    struct Case {
        const char* situation;
        std::function<void(QByteArray&)> damage;
    };
    const Case cases[] = {
        {"empty file", [](QByteArray& f) { f.clear(); }},
        {"shorter than a header", [](QByteArray& f) { f.truncate(100); }},
        {"not a report",
         [](QByteArray& f) { f = QByteArray("appliance,voltage\r\n").repeated(20); }},
        {"wrong format version", [](QByteArray& f) { f[0] = 7; }},
        {"negative page count", [](QByteArray& f) { setInt32At(f, pageCountOffset, -1); }},
        {"page count beyond the records", [](QByteArray& f) { setInt32At(f, pageCountOffset, 4); }},
        {"absurd page count", [](QByteArray& f) { setInt32At(f, pageCountOffset, INT32_MAX); }},
        {"page count short of the records",
         [](QByteArray& f) { setInt32At(f, pageCountOffset, 2); }},
        {"header only with pages counted", [](QByteArray& f) { f.truncate(headerSize); }},
        {"truncated last record", [](QByteArray& f) { f.chop(6); }},
        {"bytes after the last record", [](QByteArray& f) { f.append("xyz"); }},
        {"next offset loops to its own record",
         [=](QByteArray& f) { setInt32At(f, second + 4, static_cast<std::int32_t>(second)); }},
        {"next offset points backwards",
         [=](QByteArray& f) { setInt32At(f, third + 4, static_cast<std::int32_t>(first)); }},
        {"next offset beyond the end", [=](QByteArray& f) { setInt32At(f, first + 4, 1 << 30); }},
        {"negative next offset", [=](QByteArray& f) { setInt32At(f, first + 4, -12); }},
        {"page image of absurd length",
         [=](QByteArray& f) { setInt32At(f, third + 4, INT32_MAX); }},
        {"pages out of order", [=](QByteArray& f) { setInt32At(f, second, 3); }},
        {"wrong start offset after a record",
         [=](QByteArray& f) { setInt32At(f, third - 4, static_cast<std::int32_t>(first)); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        QByteArray damaged = valid;
        c.damage(damaged);
        writeFile("damaged.PRP", damaged);
        PageList store;
        EXPECT_THROW(store.load(path("damaged.PRP")), Error);
        EXPECT_EQ(store.pageCount(), 0);
        EXPECT_FALSE(store.readPageImage(1));
    }
}

TEST_F(SavedReport, RefusesAPageImageThatIsNotADrawing) {
    testApplication();
    PageList good;
    fillStore(good, 2, 40); // valid chain, the images are not pictures
    good.saveToFile(path("garbage.PRP"));
    PageList store;
    store.load(path("garbage.PRP"));
    EXPECT_EQ(errorText([&] { store.readPage(2); }), "Invalid page image");
}

QPicture samplePage() {
    QPicture page;
    QPainter painter(&page);
    painter.fillRect(QRect(48, 48, 720, 89), Qt::white);
    QFont bold(QStringLiteral("Arial"));
    bold.setPointSizeF(10);
    bold.setBold(true);
    painter.setFont(bold);
    painter.drawText(QPointF(56, 70), QStringLiteral("Pellion Report"));
    QFont plain(QStringLiteral("Arial"));
    plain.setPointSizeF(10);
    plain.setItalic(true);
    painter.setFont(plain);
    painter.setPen(Qt::darkBlue);
    painter.drawText(QPointF(56, 150), QStringLiteral("Kettle \u00e9"));
    painter.end();
    page.setBoundingRect(QRect(0, 0, 816, 1056));
    return page;
}

TEST(PageImage, KeepsSizeFillsTextsAndFonts) {
    testApplication();
    const QPicture decoded = decodePageImage(encodePageImage(samplePage()));
    EXPECT_EQ(decoded.boundingRect(), QRect(0, 0, 816, 1056));
    const test::RecordedPage original = test::recordTexts(samplePage());
    const test::RecordedPage copy = test::recordTexts(decoded);
    ASSERT_EQ(copy.texts.size(), original.texts.size());
    for (std::size_t i = 0; i < copy.texts.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(copy.texts[i].text, original.texts[i].text);
        // Each replay of a picture moves text by a fraction of a pixel.
        EXPECT_NEAR(copy.texts[i].position.x(), original.texts[i].position.x(), 0.5);
        EXPECT_NEAR(copy.texts[i].position.y(), original.texts[i].position.y(), 0.5);
        EXPECT_EQ(copy.texts[i].bold, original.texts[i].bold);
    }
    // The fill is there: the rendered page is white inside it and clear outside.
    QImage rendered(816, 1056, QImage::Format_ARGB32);
    rendered.fill(Qt::transparent);
    QPainter painter(&rendered);
    painter.drawPicture(0, 0, decoded);
    painter.end();
    EXPECT_EQ(QColor::fromRgba(rendered.pixel(50, 50)), QColor(Qt::white));
    EXPECT_EQ(qAlpha(rendered.pixel(20, 20)), 0);
}

// Each row one fault in an otherwise valid page image.
TEST(PageImage, RefusesDamagedImages) {
    testApplication();
    const QByteArray valid = encodePageImage(samplePage());
    const qsizetype firstOperation = 12;
    struct Case {
        const char* situation;
        std::function<void(QByteArray&)> damage;
    };
    const Case cases[] = {
        {"empty", [](QByteArray& b) { b.clear(); }},
        {"wrong signature", [](QByteArray& b) { b[0] = 'Q'; }},
        {"zero width", [](QByteArray& b) { setInt32At(b, 4, 0); }},
        {"absurd height", [](QByteArray& b) { setInt32At(b, 8, INT32_MAX); }},
        {"unknown operation", [=](QByteArray& b) { b[firstOperation] = 9; }},
        {"truncated operation", [](QByteArray& b) { b.chop(3); }},
        {"text longer than the image",
         [](QByteArray& b) { setInt32At(b, b.size() - 4 - 9, INT32_MAX); }},
        {"negative fill width", [=](QByteArray& b) { setInt32At(b, firstOperation + 9, -5); }},
        {"text before any font",
         [](QByteArray& b) {
             QByteArray text(1, '\3');
             text.append(QByteArray(8 + 8 + 4, '\0'));
             text.append(QByteArray(4, '\0'));
             b = b.left(12) + text;
         }},
        {"coordinate not a number",
         [](QByteArray& b) {
             QByteArray text(1, '\3');
             const double nan = std::nan("");
             text.append(reinterpret_cast<const char*>(&nan), 8);
             text.append(QByteArray(8 + 4 + 4, '\0'));
             b.append(text);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        QByteArray damaged = valid;
        c.damage(damaged);
        EXPECT_THROW(decodePageImage(damaged), Error);
    }
}

} // namespace
} // namespace pellion
