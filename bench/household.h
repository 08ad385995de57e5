#pragma once

// A working directory holding a ledger of `count` appliances, with an AppDir
// for the settings beside it: what the main window starts from in the
// benchmarks. The working directory is restored when the household goes.

#include "app/mainwindow.h"
#include "ledger/appliancetable.h"
#include "ledger/ledgerfile.h"

#include <QDir>
#include <QTemporaryDir>

#include <string>

namespace pellion::bench {

class Household {
public:
    explicit Household(int count) {
        ApplianceTable table;
        for (int i = 0; i < count; ++i) {
            table.StartAppend();
            table.FieldNamed("appliance").AssignText("Appliance " + std::to_string(i));
            table.FieldNamed("voltage").AssignText("230");
            table.FieldNamed("wattage").AssignText(std::to_string(10 + i % 2000));
            table.FieldNamed("hrsday").AssignText(std::to_string(1 + i % 24));
            table.PostRecord();
        }
        m_previous = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
        SaveLedger(table, MainWindow::ledgerFileName);
    }
    ~Household() { QDir::setCurrent(m_previous); }
    Household(const Household&) = delete;
    Household& operator=(const Household&) = delete;

    QString appDir() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

} // namespace pellion::bench
