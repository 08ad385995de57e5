#pragma once

// The usage report as data: the page, the paper table, the three bands and
// their controls. Positions are designed in 1/96-inch steps and stored in
// tenths of a millimetre, the unit the run works in.

#include <string>
#include <vector>

namespace pellion {

// Tenths of a millimetre for a length in 1/96-inch steps (8 steps -> 21.1666...).
constexpr double stepsToTenths(int steps) {
    return steps * 254.0 / 96.0;
}

// The nearest integer, halves to the even neighbour (235.479 -> 235, 42.5 -> 42).
int nearestEven(double value);

enum class Orientation { Portrait, Landscape };

// A row of the paper table. The code is the printing system's standard paper
// number, handed to the printer unchanged; Custom is 256.
struct PaperSize {
    int code = 0;
    std::string name;
    double widthMm = 0; // portrait
    double lengthMm = 0;
};

constexpr int defaultPaperCode = 0;
constexpr int letterPaperCode = 1;
constexpr int a4PaperCode = 9;
constexpr int customPaperCode = 256;

// Default (0) to Custom, in code order; Default and Custom carry no size of
// their own (the device's page, the page's own size).
const std::vector<PaperSize>& paperTable();
// The row with this code, or nullptr for a code the table does not know.
const PaperSize* findPaper(int code);

struct PaperMatch {
    int code = 0;
    Orientation orientation = Orientation::Portrait;
};
// The papers with codes 1 to 26 that a page of this size (tenths of a
// millimetre) is printed on, in table order: sizes agree when they fall in
// the same 4-millimetre step. A paper matches once for each orientation that
// fits, so a square one matches twice.
std::vector<PaperMatch> papersOfPageSize(double widthTenths, double lengthTenths);

enum class BandType { Title, SubDetail, Summary };
enum class ControlKind { Label, DataField, DateTime };

struct FontStyle {
    bool bold = false;
    bool italic = false;
};

struct ReportFont {
    std::string family = "Arial";
    int pointSize = 10;
    FontStyle style;
};

struct ReportControl {
    std::string name;
    ControlKind kind = ControlKind::Label;
    std::string text;      // a label's caption, set again at run time for some labels
    std::string fieldName; // data fields: matched to the table without regard to case
    double left = 0;       // tenths of a millimetre from the band's top-left corner
    double top = 0;
    double height = 0;
    // When set (tenths from the band's left), a box that would end past it
    // is moved left to end there.
    double rightEdge = 0;
    ReportFont font;
};

struct ReportBand {
    std::string name;
    BandType type = BandType::SubDetail;
    double width = 0; // tenths of a millimetre
    double height = 0;
    std::vector<ReportControl> controls; // in drawing order

    // Heights enter the running page position as whole tenths.
    int wholeHeight() const { return nearestEven(height); }
};

// The report page; margins and sizes in tenths of a millimetre.
struct ReportPage {
    int paperCode = letterPaperCode;
    Orientation orientation = Orientation::Portrait;
    double width = 2159;
    double length = 2794;
    double topMargin = 127;
    double bottomMargin = 127;
    double leftMargin = 127;
    double rightMargin = 127;
    double columnSpace = 0;
    int columns = 1;

    // Takes width and length from the paper table; landscape swaps them.
    void setPaper(int code);
    void setOrientation(Orientation orientation);
    double usableLength() const { return length - topMargin - bottomMargin; }

private:
    void applyPaperDimensions();
};

struct ReportLayout {
    std::string title;
    bool printIfEmpty = true;
    bool showProgress = true;
    ReportPage page;
    ReportFont font;
    std::vector<ReportBand> bands; // in printing order

    ReportBand& band(BandType type);
    const ReportBand& band(BandType type) const;
    ReportControl& control(const std::string& name); // throws Error for an unknown name
};

// The fixed layout of the usage report ("Pellion Report").
ReportLayout usageReportLayout();

} // namespace pellion
