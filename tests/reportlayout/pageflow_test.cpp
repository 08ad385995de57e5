// The space check on its own, for the boundaries the report's own band
// heights never reach.

#include "reportlayout/pageflow.h"

#include "reportlayout/reportlayout.h"

#include <gtest/gtest.h>

#include <vector>

namespace pellion {
namespace {

struct FlowCase {
    const char* situation;
    PageFlowGeometry geometry;
    std::vector<int> bandHeights;
    std::vector<int> pageOfEachBand;
};

TEST(PageFlow, StartsPagesOnlyWhenABandDoesNotFit) {
    const PageFlowGeometry letter{}; // 2794 long, 127 margins: 2540 usable
    const PageFlowGeometry half{1397, 127, 127, 127, 2540};
    const FlowCase cases[] = {
        {"the first band opens page 1", letter, {42}, {1}},
        {"a band that fits exactly stays", letter, {2498, 42}, {1, 1}},
        {"one tenth more moves it on", letter, {2499, 42}, {1, 2}},
        {"a band taller than the usable page is never moved on", letter, {100, 2541}, {1, 1}},
        {"a band as tall as the usable page is moved on", letter, {100, 2540}, {1, 2}},
        {"the paper, not the report page, bounds the space", half, {1100, 44}, {1, 2}},
    };
    for (const FlowCase& c : cases) {
        SCOPED_TRACE(c.situation);
        PageFlow flow(c.geometry);
        std::vector<int> pages;
        for (int height : c.bandHeights) {
            if (flow.needsNewPage(height))
                flow.startPage();
            pages.push_back(flow.pageCount());
            flow.advance(height);
        }
        EXPECT_EQ(pages, c.pageOfEachBand);
    }
}

TEST(PageFlow, NewPageStartsAtTheTopAndLeftMargins) {
    PageFlow flow(PageFlowGeometry{2970, 126.5, 127, 127.5, 2540});
    flow.startPage();
    EXPECT_EQ(flow.currentY(), 126); // halves go to the even neighbour
    EXPECT_EQ(flow.currentX(), 128);
}

TEST(NearestEven, TakesHalvesToTheEvenNeighbour) {
    EXPECT_EQ(nearestEven(235.479), 235);
    EXPECT_EQ(nearestEven(42.333), 42);
    EXPECT_EQ(nearestEven(105.833), 106);
    EXPECT_EQ(nearestEven(42.5), 42);
    EXPECT_EQ(nearestEven(43.5), 44);
    EXPECT_EQ(nearestEven(-0.5), 0);
}

} // namespace
} // namespace pellion
