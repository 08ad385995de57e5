#pragma once

// The arithmetic of the appliance table's sort order, apart from what is
// compared: an order is a list of storage slots, and the table hands in a
// three-way comparison (negative, zero or positive like strcmp). Internal to
// the table.
//
// The sort is written out here instead of calling std::sort because the order
// it leaves records with equal keys in shows in the grid and the report: six
// appliances of 60 W that the user typed in come out in the order this
// quicksort's swaps give (appliancetable_test pins it), and std::sort or
// std::stable_sort would show them in another.

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

namespace pellion {

namespace sortorder_detail {

// Median-of-three quicksort that leaves partitions of five or fewer to the
// insertion sort. It recurses into the smaller part only, which keeps the
// stack shallow without changing the result.
template <class Compare> void quickSort(std::vector<int>& list, int l, int r, Compare& compare) {
    auto less = [&](int a, int b) { return compare(a, b) < 0; };
    auto greater = [&](int a, int b) { return compare(a, b) > 0; };
    while (r - l > 4) {
        int m = (l + r) / 2;
        if (greater(list[l], list[m]))
            std::swap(list[l], list[m]);
        if (greater(list[l], list[r]))
            std::swap(list[l], list[r]);
        if (greater(list[m], list[r]))
            std::swap(list[m], list[r]);
        std::swap(list[m], list[r - 1]);
        int pivot = list[r - 1];
        int i = l;
        int j = r - 1;
        for (;;) {
            // The bounds only guard against a comparison that is not a
            // strict order; for a proper one the sentinels stop first.
            ++i;
            while (i < r && less(list[i], pivot))
                ++i;
            --j;
            while (j > l && greater(list[j], pivot))
                --j;
            if (i > j)
                break;
            std::swap(list[i], list[j]);
        }
        std::swap(list[i], list[r - 1]);
        if (j - l < r - (i + 1)) {
            quickSort(list, l, j, compare);
            l = i + 1;
        } else {
            quickSort(list, i + 1, r, compare);
            r = j;
        }
    }
}

template <class Compare>
void insertionSort(std::vector<int>& list, int l, int r, Compare& compare) {
    for (int k = l + 1; k <= r; ++k) {
        int x = list[k];
        int j = k;
        while (j > l && compare(list[j - 1], x) > 0) {
            list[j] = list[j - 1];
            --j;
        }
        list[j] = x;
    }
}

} // namespace sortorder_detail

// Placing a record searches sequentially in orders up to this size, by
// bisection beyond; both find the same place.
constexpr std::size_t sequentialSearchLimit = 20;

// Sorts the slots by compare(a, b).
template <class Compare> void sortSlots(std::vector<int>& list, Compare compare) {
    int last = int(list.size()) - 1;
    sortorder_detail::quickSort(list, 0, last, compare);
    sortorder_detail::insertionSort(list, 0, last, compare);
}

// Position in `list` before the first slot whose key is not less than the one
// placed, skipping position `skip` (-1: none), counted as if `skip` were gone.
// compareWithPlaced(other) compares the key of slot `other` with the placed one.
template <class CompareWithPlaced>
int placeInOrder(const std::vector<int>& list, CompareWithPlaced compareWithPlaced, int skip) {
    auto notLess = [&](int other) { return compareWithPlaced(other) >= 0; };
    int size = int(list.size());
    int remaining = skip >= 0 ? size - 1 : size;
    if (remaining <= int(sequentialSearchLimit)) {
        int position = 0;
        for (int i = 0; i < size; ++i) {
            if (i == skip)
                continue;
            if (notLess(list[std::size_t(i)]))
                return position;
            ++position;
        }
        return position;
    }
    auto isLess = [&](int other, int) { return compareWithPlaced(other) < 0; };
    auto begin = list.begin();
    int end = skip >= 0 ? skip : size;
    int found = int(std::lower_bound(begin, begin + end, 0, isLess) - begin);
    if (found < end || skip < 0)
        return found;
    found = int(std::lower_bound(begin + skip + 1, list.end(), 0, isLess) - begin);
    return found - 1;
}

} // namespace pellion
