#include "app/fixedlayout.h"

#include <QEvent>
#include <QWidget>

#include <stdexcept>

namespace pellion {

QRect anchoredGeometry(const ControlPlace& place, QSize growth) {
    QRect rect(place.left, place.top, place.width, place.height);
    if ((place.anchors & AnchorLeft) && (place.anchors & AnchorRight))
        rect.setWidth(rect.width() + growth.width());
    else if (place.anchors & AnchorRight)
        rect.translate(growth.width(), 0);
    if ((place.anchors & AnchorTop) && (place.anchors & AnchorBottom))
        rect.setHeight(rect.height() + growth.height());
    else if (place.anchors & AnchorBottom)
        rect.translate(0, growth.height());
    return rect;
}

FixedLayout::FixedLayout(QWidget* client, QSize designSize, std::span<const ControlPlace> places,
                         Factory factory)
    : QObject(client), m_client(client), m_designSize(designSize), m_places(places) {
    for (const auto& place : m_places) {
        QWidget* parent = *place.parent ? control(place.parent) : m_client;
        QWidget* widget = factory(place, parent);
        widget->setObjectName(QString::fromLatin1(place.name));
        widget->setGeometry(place.left, place.top, place.width, place.height);
        m_controls[place.name] = widget;
    }
    m_client->installEventFilter(this);
}

bool FixedLayout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_client && event->type() == QEvent::Resize)
        arrange();
    return QObject::eventFilter(watched, event);
}

QWidget* FixedLayout::control(const std::string& name) const {
    const auto found = m_controls.find(name);
    if (found == m_controls.end())
        throw std::logic_error("no control named " + name);
    return found->second;
}

void FixedLayout::arrange() {
    std::map<std::string, QSize> growth;
    growth[""] = m_client->size() - m_designSize;
    for (const auto& place : m_places) {
        const QRect rect = anchoredGeometry(place, growth.at(place.parent));
        m_controls.at(place.name)->setGeometry(rect);
        growth[place.name] = rect.size() - QSize(place.width, place.height);
    }
}

} // namespace pellion
