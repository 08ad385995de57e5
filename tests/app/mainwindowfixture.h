#pragma once

// A main window started as a user would start it: settings beside the
// "executable" (an AppDir of its own), the ledger in a separate working
// directory, modal boxes answered by a DialogAnswerer.

#include "app/appliancegrid.h"
#include "app/mainwindow.h"
#include "ledger/appliancetable.h"
#include "tests/dialoganswerer.h"
#include "tests/qstringprinter.h"
#include "tests/qtapplication.h"
#include "ui/currencyfield.h"
#include "ui/spinfield.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        testApplication();
        ASSERT_TRUE(m_root.isValid());
        QDir(m_root.path()).mkpath(QStringLiteral("bin"));
        QDir(m_root.path()).mkpath(QStringLiteral("work"));
        m_previousDirectory = QDir::currentPath();
        QDir::setCurrent(workDir());
    }

    void TearDown() override {
        m_window.reset();
        m_dialogs.reset();
        QDir::setCurrent(m_previousDirectory);
    }

    QString appDir() const { return m_root.path() + QStringLiteral("/bin"); }
    QString workDir() const { return m_root.path() + QStringLiteral("/work"); }
    QString settingsPath() const { return appDir() + QStringLiteral("/cfgfd.ini"); }
    QString ledgerPath() const { return workDir() + QStringLiteral("/pellion.csv"); }

    static void writeFile(const QString& path, const QByteArray& contents) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }
    static QByteArray readFile(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    pellion::MainWindow& start(QStringList answers = {}) {
        m_dialogs = std::make_unique<DialogAnswerer>(std::move(answers));
        m_window = std::make_unique<pellion::MainWindow>(pellion::MainWindow::Options{appDir()});
        m_window->show();
        m_window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
        return *m_window;
    }

    // Answers the next boxes (those start() was given are used up first).
    void answer(QStringList answers) {
        m_dialogs = std::make_unique<DialogAnswerer>(std::move(answers));
    }
    const std::vector<SeenDialog>& dialogs() const { return m_dialogs->seen(); }

    template <typename T = QWidget> T* control(const char* name) const {
        T* widget = m_window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    pellion::SpinField* spin(const char* name) const { return control<pellion::SpinField>(name); }
    pellion::CurrencyField* currency(const char* name) const {
        return control<pellion::CurrencyField>(name);
    }
    pellion::ApplianceGrid* grid() const { return control<pellion::ApplianceGrid>("dbg"); }
    pellion::ApplianceTable& table() const { return m_window->table(); }

    void click(const char* buttonName) const {
        QTest::mouseClick(control<QAbstractButton>(buttonName), Qt::LeftButton);
    }

    // Puts a record straight into the table, as a loaded ledger would.
    void addAppliance(const char* name, const char* volts, const char* amps, const char* watts,
                      const char* hours) const {
        auto& kmt = table();
        kmt.StartAppend();
        kmt.FieldNamed("appliance").AssignText(name);
        kmt.FieldNamed("voltage").AssignText(volts);
        kmt.FieldNamed("amperage").AssignText(amps);
        kmt.FieldNamed("wattage").AssignText(watts);
        kmt.FieldNamed("hrsday").AssignText(hours);
        kmt.PostRecord();
    }

    // Keys go where the focus is, as they would for the user (into the cell
    // editor once one opens).
    static void typeKeys(QWidget* start, const QString& text) {
        for (const QChar c : text) {
            QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : start;
            QTest::keyClick(target, c.toLatin1());
        }
    }
    static void pressKey(QWidget* start, Qt::Key key,
                         Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : start;
        QTest::keyClick(target, key, modifiers);
    }

    // The grid's columns, in their order on screen.
    enum Column { Appliance, Voltage, Wattage, Amperage, Kwh, CostHour, HoursDay, CostDay };

    void clickCell(int row, int column) const {
        const QModelIndex index = grid()->model()->index(row, column);
        grid()->scrollTo(index);
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {},
                          grid()->visualRect(index).center());
    }
    // Keys go to the grid, or to its cell editor once one opens.
    void typeIntoCurrentCell(const QString& text) const {
        typeKeys(grid(), text);
        pressKey(grid(), Qt::Key_Return);
    }
    // Replaces the field's text keystroke by keystroke.
    void typePrice(const char* field, const QString& text) const {
        pellion::SpinField* price = spin(field);
        price->setFocus();
        price->selectAll();
        typeKeys(price, text);
    }

    std::vector<std::string> applianceNames() const {
        std::vector<std::string> names;
        const int nameField = table().FieldNamed("appliance").index();
        for (int row = 0; row < table().viewRowCount(); ++row)
            names.push_back(table().shownTextAt(row, nameField));
        return names;
    }

    // Runs `act` on the preview window once it shows, then closes it with
    // Escape, as the user would, so that the command that opened it returns.
    static void onPreview(std::function<void(QWidget*)> act = {}) {
        auto* timer = new QTimer;
        QObject::connect(timer, &QTimer::timeout, [timer, act] {
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if (window->objectName() != QStringLiteral("PreviewWindow") || !window->isVisible())
                    continue;
                timer->stop();
                timer->deleteLater();
                if (act)
                    act(window);
                QTest::keyClick(window, Qt::Key_Escape);
                return;
            }
        });
        timer->start(5);
    }

    QTemporaryDir m_root;
    QString m_previousDirectory;
    std::unique_ptr<DialogAnswerer> m_dialogs;
    std::unique_ptr<pellion::MainWindow> m_window;
};
