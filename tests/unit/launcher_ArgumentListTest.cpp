// The launcher's string list: growth, removal and exact search.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "launcher/ArgumentList.h"

namespace {

std::vector<std::string> elementsOf(const ArgumentList& list) {
    std::vector<std::string> elements;
    for (int i = 0; i < list.count(); ++i) elements.push_back(list.element(i));
    return elements;
}

ArgumentList listOf(const std::vector<std::string>& elements) {
    ArgumentList list;
    for (const std::string& element : elements) list.append(element);
    return list;
}

TEST(ArgumentListTest, CapacityStartsAtZeroAndDoubles) {
    ArgumentList list;
    EXPECT_EQ(list.capacity(), 0u);
    const size_t expected[] = {1, 2, 4, 4, 8, 8, 8, 8, 16, 16};
    for (size_t i = 0; i < sizeof expected / sizeof expected[0]; ++i) {
        list.append(std::to_string(i));
        EXPECT_EQ(list.capacity(), expected[i]) << "after append " << i + 1;
    }
    EXPECT_EQ(list.count(), 10);
}

TEST(ArgumentListTest, KeepsOrderDuplicatesAndEmptyElements) {
    ArgumentList list = listOf({"", "x", "", "x"});
    EXPECT_EQ(elementsOf(list), (std::vector<std::string>{"", "x", "", "x"}));
}

TEST(ArgumentListTest, RemoveMovesLaterElementsDownOrRefuses) {
    const struct {
        std::vector<std::string> before;
        int index;
        bool removed;
        std::vector<std::string> after;
    } cases[] = {
        {{"a", "b", "c"}, 1, true, {"a", "c"}},
        {{"a", "b", "c"}, 0, true, {"b", "c"}},
        {{"a", "b", "c"}, 2, true, {"a", "b"}},
        {{"a", "b", "c"}, 3, false, {"a", "b", "c"}},
        {{"a", "b", "c"}, -1, false, {"a", "b", "c"}},
        {{}, 0, false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "index " << c.index << " of " << c.before.size());
        ArgumentList list = listOf(c.before);
        EXPECT_EQ(list.remove(c.index), c.removed);
        EXPECT_EQ(elementsOf(list), c.after);
    }
}

TEST(ArgumentListTest, ClearEmptiesTheListForReuse) {
    ArgumentList list = listOf({"a", "b", "c"});
    list.clear();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.findArgument("a"), -1);
    list.append("d");
    EXPECT_EQ(elementsOf(list), std::vector<std::string>{"d"});
}

TEST(ArgumentListTest, FindArgumentMatchesWholeElementsOnly) {
    const struct {
        std::vector<std::string> elements;
        const char* text;
        int index;
    } cases[] = {
        {{"file.txt", "-nosplash"}, "-nosplash", 1},
        {{"-nosplash", "x", "-nosplash"}, "-nosplash", 0},
        {{"-NoSplash"}, "-nosplash", -1},
        {{"-nosplash2"}, "-nosplash", -1},
        {{" -nosplash"}, "-nosplash", -1},
        {{"-nosplas"}, "-nosplash", -1},
        {{"", "a"}, "", 0},
        {{}, "-nosplash", -1},
        {{"a"}, nullptr, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text != nullptr ? c.text : "(null)");
        EXPECT_EQ(listOf(c.elements).findArgument(c.text), c.index);
    }
}

}  // namespace
