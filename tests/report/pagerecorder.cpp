#include "pagerecorder.h"

#include "preview/enginedevice.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace pellion::test {

namespace {

class TextRecordingEngine : public QPaintEngine {
public:
    explicit TextRecordingEngine(std::vector<DrawnText>& texts)
        : QPaintEngine(QPaintEngine::AllFeatures), m_texts(texts) {}

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState& state) override {
        if (state.state() & QPaintEngine::DirtyTransform)
            m_transform = state.transform();
    }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawPath(const QPainterPath&) override {}
    void drawTextItem(const QPointF& position, const QTextItem& item) override {
        m_texts.push_back({item.text(), m_transform.map(position), item.font().bold()});
    }
    Type type() const override { return QPaintEngine::User; }

private:
    std::vector<DrawnText>& m_texts;
    QTransform m_transform;
};

} // namespace

RecordedPage recordTexts(const QPicture& picture) {
    RecordedPage page;
    page.boundingRect = picture.boundingRect();
    TextRecordingEngine engine(page.texts);
    EngineDevice device(engine, QSize(2000, 2000), 96, 96);
    QPainter painter(&device);
    painter.drawPicture(0, 0, picture);
    painter.end();
    return page;
}

void PageRecorder::appendPage(const QPicture& page) {
    pages.push_back(recordTexts(page));
}

QStringList RecordedPage::allTexts() const {
    QStringList result;
    for (const DrawnText& drawn : texts)
        result << drawn.text;
    return result;
}

bool RecordedPage::contains(const QString& text) const {
    return count(text) > 0;
}

int RecordedPage::count(const QString& text) const {
    int found = 0;
    for (const DrawnText& drawn : texts)
        found += drawn.text == text ? 1 : 0;
    return found;
}

int RecordedPage::countStartingWith(const QString& prefix) const {
    int found = 0;
    for (const DrawnText& drawn : texts)
        found += drawn.text.startsWith(prefix) ? 1 : 0;
    return found;
}

QString RecordedPage::textRightOf(const QString& label) const {
    for (const DrawnText& anchor : texts) {
        if (anchor.text != label)
            continue;
        const DrawnText* nearest = nullptr;
        for (const DrawnText& other : texts) {
            if (std::abs(other.position.y() - anchor.position.y()) > 0.5 ||
                other.position.x() <= anchor.position.x())
                continue;
            if (nearest == nullptr || other.position.x() < nearest->position.x())
                nearest = &other;
        }
        return nearest != nullptr ? nearest->text : QString();
    }
    return {};
}

QStringList RecordedPage::lineOf(const QString& text) const {
    const auto anchor = std::find_if(
        texts.begin(), texts.end(), [&text](const DrawnText& drawn) { return drawn.text == text; });
    if (anchor == texts.end())
        return {};
    std::vector<DrawnText> line;
    std::copy_if(texts.begin(), texts.end(), std::back_inserter(line),
                 [&anchor](const DrawnText& drawn) {
                     return std::abs(drawn.position.y() - anchor->position.y()) <= 0.5;
                 });
    std::stable_sort(line.begin(), line.end(), [](const DrawnText& a, const DrawnText& b) {
        return a.position.x() < b.position.x();
    });
    QStringList result;
    for (const DrawnText& drawn : line)
        result << drawn.text;
    return result;
}

} // namespace pellion::test
