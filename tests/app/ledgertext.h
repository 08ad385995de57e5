#pragma once

// A ledger as the program writes one with its own field definitions and no
// read-only marks, so a test can give the main window a list in a few lines.

#include <QByteArray>
#include <QList>

namespace pellion::testing {

// The standard definitions and header, then one line per appliance (each
// given without its line end).
inline QByteArray ledgerWithLines(const QList<QByteArray>& records) {
    QByteArray text = "\"@@FILE VERSION@@\",\"251\"\r\n"
                      "\"@@TABLEDEF START@@\"\r\n"
                      "\"amperage=Float,0,\"\"Amperage\"\",\"\"\"\",10,Data,\"\"\"\"\"\r\n"
                      "\"appliance=String,50,\"\"Appliance\"\",\"\"\"\",50,Data,\"\"\"\"\"\r\n"
                      "\"costday=Float,0,\"\"Cost/Day\"\",\"\"\"\",10,Data,\"\"\"\"\"\r\n"
                      "\"costhour=Float,0,\"\"Cost/Hour\"\",\"\"\"\",10,Data,\"\"\"\"\"\r\n"
                      "\"hrsday=Float,0,\"\"Daily Usage(Hrs)\"\",\"\"\"\",10,Data,\"\"\"\"\"\r\n"
                      "\"kilowattshour=Float,0,\"\"KWH\"\",\"\"\"\",10,Data,\"\"\"\"\"\r\n"
                      "\"voltage=Float,0,\"\"Voltage\"\",\"\"\"\",10,Data,\"\"\"\"\"\r\n"
                      "\"wattage=Float,0,\"\"Wattage\"\",\"\"\"\",10,Data,\"\"\"\"\"\r\n"
                      "\"@@INDEXDEF START@@\"\r\n"
                      "\"@@INDEXDEF END@@\"\r\n"
                      "\"@@TABLEDEF END@@\"\r\n"
                      "\"Amperage\",\"Appliance\",\"Cost/Day\",\"Cost/Hour\","
                      "\"Daily Usage(Hrs)\",\"KWH\",\"Voltage\",\"Wattage\",\r\n";
    for (const QByteArray& record : records)
        text += record + "\r\n";
    return text;
}

} // namespace pellion::testing
