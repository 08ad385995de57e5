#include "app/fixedlayout.h"

#include <QEvent>
#include <QWidget>

#include <stdexcept>

namespace pellion {

QRect anchoredGeometry(const ControlSpec& spec, QSize growth) {
    QRect rect(spec.left, spec.top, spec.width, spec.height);
    if ((spec.anchors & AnchorLeft) && (spec.anchors & AnchorRight))
        rect.setWidth(rect.width() + growth.width());
    else if (spec.anchors & AnchorRight)
        rect.translate(growth.width(), 0);
    if ((spec.anchors & AnchorTop) && (spec.anchors & AnchorBottom))
        rect.setHeight(rect.height() + growth.height());
    else if (spec.anchors & AnchorBottom)
        rect.translate(0, growth.height());
    return rect;
}

FixedLayout::FixedLayout(QWidget* client, QSize designSize, std::span<const ControlSpec> specs,
                         Factory factory)
    : QObject(client), m_client(client), m_designSize(designSize), m_specs(specs) {
    for (const auto& spec : m_specs) {
        QWidget* parent = *spec.parent ? control(spec.parent) : m_client;
        QWidget* widget = factory(spec, parent);
        widget->setObjectName(QString::fromLatin1(spec.name));
        widget->setGeometry(spec.left, spec.top, spec.width, spec.height);
        m_controls[spec.name] = widget;
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
    for (const auto& spec : m_specs) {
        const QRect rect = anchoredGeometry(spec, growth.at(spec.parent));
        m_controls.at(spec.name)->setGeometry(rect);
        growth[spec.name] = rect.size() - QSize(spec.width, spec.height);
    }
}

} // namespace pellion
