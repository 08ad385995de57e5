#pragma once

// Answers the modal message boxes a test provokes, in order, and keeps what
// each one showed. An answer is a button's text, or "<Escape>" to press
// Escape. A box beyond the given answers is recorded and escaped.

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <vector>

struct SeenDialog {
    QString caption;
    QString text;
    QStringList buttons;
    QString defaultButton;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

class DialogAnswerer {
public:
    explicit DialogAnswerer(QStringList answers = {}) : m_answers(std::move(answers)) {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start(5);
    }

    const std::vector<SeenDialog>& seen() const { return m_seen; }
    bool allAnswered() const { return m_next >= m_answers.size(); }

private:
    void poll() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        SeenDialog dialog;
        dialog.caption = box->windowTitle();
        dialog.text = box->text();
        dialog.icon = box->icon();
        for (QAbstractButton* button : box->buttons())
            dialog.buttons << button->text();
        if (box->defaultButton())
            dialog.defaultButton = box->defaultButton()->text();
        m_seen.push_back(dialog);
        const QString answer =
            m_next < m_answers.size() ? m_answers[m_next++] : QStringLiteral("<Escape>");
        if (answer == QStringLiteral("<Escape>")) {
            QTest::keyClick(box, Qt::Key_Escape);
            return;
        }
        for (QAbstractButton* button : box->buttons()) {
            if (button->text() == answer) {
                button->click();
                return;
            }
        }
        QTest::keyClick(box, Qt::Key_Escape);
    }

    QTimer m_timer;
    QStringList m_answers;
    qsizetype m_next = 0;
    std::vector<SeenDialog> m_seen;
};
