#include "reportlayout/reportlayout.h"

#include "base/error.h"

#include <cfenv>
#include <cmath>

namespace pellion {

int nearestEven(double value) {
    // The default rounding mode takes halves to even; make sure nobody changed it.
    const int savedMode = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value);
    std::fesetround(savedMode);
    return static_cast<int>(rounded);
}

const std::vector<PaperSize>& paperTable() {
    static const std::vector<PaperSize> table = {
        {0, "Default", 0, 0},
        {1, "Letter", 215.9, 279.4},
        {2, "LetterSmall", 215.9, 279.4},
        {3, "Tabloid", 279.4, 431.8},
        {4, "Ledger", 431.8, 279.4},
        {5, "Legal", 215.9, 355.6},
        {6, "Statement", 139.7, 215.9},
        {7, "Executive", 190.5, 254.0},
        {8, "A3", 297, 420},
        {9, "A4", 210, 297},
        {10, "A4Small", 210, 297},
        {11, "A5", 148, 210},
        {12, "B4", 250, 354},
        {13, "B5", 182, 257},
        {14, "Folio", 215.9, 330.2},
        {15, "Quarto", 215, 275},
        {16, "p10X14", 254, 355.6},
        {17, "p11X17", 279.4, 431.8},
        {18, "Note", 215.9, 279.0},
        {19, "Env9", 98.43, 225.4},
        {20, "Env10", 104.8, 241.3},
        {21, "Env11", 114.3, 263.5},
        {22, "Env12", 101.6, 279.4},
        {23, "Env14", 127, 292.1},
        {24, "CSheet", 100, 100},
        {25, "DSheet", 100, 100},
        {26, "ESheet", 100, 100},
        {customPaperCode, "Custom", 0, 0},
    };
    return table;
}

const PaperSize* findPaper(int code) {
    for (const PaperSize& paper : paperTable()) {
        if (paper.code == code)
            return &paper;
    }
    return nullptr;
}

std::vector<PaperMatch> papersOfPageSize(double widthTenths, double lengthTenths) {
    const int w = static_cast<int>(widthTenths / 40);
    const int h = static_cast<int>(lengthTenths / 40);
    std::vector<PaperMatch> matches;
    for (const PaperSize& paper : paperTable()) {
        if (paper.code < 1 || paper.code > 26)
            continue;
        const int width = static_cast<int>(paper.widthMm / 4);
        const int length = static_cast<int>(paper.lengthMm / 4);
        if (w == width && h == length)
            matches.push_back({paper.code, Orientation::Portrait});
        if (h == width && w == length)
            matches.push_back({paper.code, Orientation::Landscape});
    }
    return matches;
}

void ReportPage::setPaper(int code) {
    paperCode = code;
    applyPaperDimensions();
}

void ReportPage::setOrientation(Orientation newOrientation) {
    orientation = newOrientation;
    applyPaperDimensions();
}

void ReportPage::applyPaperDimensions() {
    const PaperSize* paper = findPaper(paperCode);
    // Default and Custom keep the page's own size; only its orientation follows.
    if (paper != nullptr && paper->widthMm > 0) {
        width = paper->widthMm * 10;
        length = paper->lengthMm * 10;
    }
    const bool wide = width > length;
    if (wide != (orientation == Orientation::Landscape)) {
        std::swap(width, length);
    }
}

ReportBand& ReportLayout::band(BandType type) {
    for (ReportBand& candidate : bands) {
        if (candidate.type == type)
            return candidate;
    }
    throw Error("The report has no such band");
}

const ReportBand& ReportLayout::band(BandType type) const {
    return const_cast<ReportLayout*>(this)->band(type);
}

ReportControl& ReportLayout::control(const std::string& name) {
    for (ReportBand& candidate : bands) {
        for (ReportControl& control : candidate.controls) {
            if (control.name == name)
                return control;
        }
    }
    throw Error("The report has no control " + name);
}

namespace {

constexpr int controlHeightSteps = 17;
constexpr int bandWidthSteps = 720;

ReportControl label(std::string name, std::string text, int left, int top, FontStyle style) {
    ReportControl control;
    control.name = std::move(name);
    control.kind = ControlKind::Label;
    control.text = std::move(text);
    control.left = stepsToTenths(left);
    control.top = stepsToTenths(top);
    control.height = stepsToTenths(controlHeightSteps);
    control.font.style = style;
    return control;
}

ReportControl dataField(std::string name, std::string fieldName, int left) {
    ReportControl control = label(std::move(name), {}, left, 0, {});
    control.kind = ControlKind::DataField;
    control.fieldName = std::move(fieldName);
    return control;
}

ReportBand band(std::string name, BandType type, int heightSteps,
                std::vector<ReportControl> controls) {
    return ReportBand{std::move(name), type, stepsToTenths(bandWidthSteps),
                      stepsToTenths(heightSteps), std::move(controls)};
}

} // namespace

ReportLayout usageReportLayout() {
    const FontStyle bold{true, false};
    const FontStyle boldItalic{true, true};

    ReportControl dateTime = label("SysData1", {}, 576, 8, bold);
    dateTime.kind = ControlKind::DateTime;
    // The user's date and time formats may be longer than the room left of
    // the right margin; the line then ends at the margin.
    dateTime.rightEdge = stepsToTenths(bandWidthSteps);

    ReportLayout layout;
    layout.title = "Pellion Report";
    layout.bands.push_back(band("Band1", BandType::Title, 89,
                                {
                                    label("RLabel1", "Pellion Report", 8, 8, bold),
                                    dateTime,
                                    label("RLabel2", "Electricity KWH Charge :", 8, 40, boldItalic),
                                    label("RLabel3", "Appliance", 8, 72, bold),
                                    label("RLabel4", "Voltage", 144, 72, bold),
                                    label("RLabel5", "Amperage", 224, 72, bold),
                                    label("RLabel6", "Wattage", 344, 72, bold),
                                    label("RLabel7", "KiloWatts per Hour", 440, 72, bold),
                                    label("RLabel8", "Cost per Hour", 600, 72, bold),
                                    label("RLabel10", {}, 168, 40, boldItalic),
                                }));
    layout.bands.push_back(band("SubDetail1", BandType::SubDetail, 16,
                                {
                                    dataField("DBText1", "appliance", 8),
                                    dataField("DBText2", "Voltage", 144),
                                    dataField("DBText3", "Amperage", 224),
                                    dataField("DBText4", "Wattage", 344),
                                    dataField("DBText5", "kilowattshour", 440),
                                    dataField("DBText6", "costhour", 600),
                                }));
    layout.bands.push_back(band("Band2", BandType::Summary, 40,
                                {
                                    label("RLabel13", "Total Cost Per Day :", 8, 8, bold),
                                    label("rptlbltd", {}, 136, 8, bold),
                                    label("RLabel11", "Total Cost Per Hour :", 240, 8, bold),
                                    label("rptlbltotal", {}, 376, 8, bold),
                                    label("RLabel9", "Daily KWH Usage :", 480, 8, bold),
                                    label("rptlbldkwu", {}, 616, 8, bold),
                                }));
    return layout;
}

} // namespace pellion
