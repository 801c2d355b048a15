// Probing, rebuilding, fitting and line-writing of result texts.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "result_text.h"

namespace {

// A predicate that answers from a set of live addresses and records what it was asked.
struct Probe {
    std::set<std::string> live;
    std::vector<std::string> asked;
    AliveFn Fn()
    {
        return [this](const std::string& u) {
            asked.push_back(u);
            return live.count(u) > 0;
        };
    }
};

std::string Alts(const std::vector<std::string>& items, const char* title = "T")
{
    std::string s = std::string("<title>") + title + "</title><flv>";
    for (const std::string& i : items)
        s += i + "<|>";
    return s + "</flv>";
}

std::string Segs(const std::vector<std::string>& items, const char* title = "T")
{
    std::string s = std::string("<title>") + title + "</title><flv>";
    for (const std::string& i : items)
        s += i + "<&>";
    return s + "</flv>";
}

std::string Repeat(const std::string& part, size_t n)
{
    std::string s;
    for (size_t i = 0; i < n; ++i)
        s += part;
    return s;
}

}  // namespace

TEST(ResultText, SplitAndCount)
{
    std::vector<std::string> list;
    SplitList("a<|><|>b<|>tail", "<|>", list);
    EXPECT_EQ(list, (std::vector<std::string>{"a", "b"}));
    SplitList(nullptr, "<|>", list);
    SplitList((std::string(1500, 'x') + "<&>").c_str(), "<&>", list);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[2], std::string(1203, 'x'));
    // An empty separator ends nothing: the whole text is one item, cut as any item is.
    list.clear();
    SplitList("a<|>b", "", list);
    SplitList("", "", list);
    SplitList(std::string(1500, 'y').c_str(), "", list);
    EXPECT_EQ(list, (std::vector<std::string>{"a<|>b", std::string(1203, 'y')}));
    EXPECT_EQ(CountOccurrences("<|><|>x<|>", "<|>"), 3);
    EXPECT_EQ(CountOccurrences("aaaa", "aa"), 2);
    EXPECT_EQ(CountOccurrences(nullptr, "aa"), 0);
}

TEST(ResultText, ProbeCases)
{
    struct Case {
        const char* what;
        std::string text;
        std::set<std::string> live;
        std::string keepAll, keepFirst;
        std::vector<std::string> askedAll, askedFirst;
    } cases[] = {
        {"one alternative is not probed", Alts({"a"}), {}, Alts({"a"}), Alts({"a"}), {}, {}},
        {"first of three dead", Alts({"a", "b", "c"}), {"b", "c"}, Alts({"b", "c"}), Alts({"b"}),
         {"a", "b", "c"}, {"a", "b"}},
        {"none alive: unchanged", Alts({"a", "b"}), {}, Alts({"a", "b"}), Alts({"a", "b"}), {"a", "b"}, {"a", "b"}},
        {"two segments, one dead", Segs({"s1", "s2"}), {"s2"}, Segs({"s1", "s2"}), Segs({"s2"}), {}, {"s1", "s2"}},
        {"a single segment is not probed", Segs({"s1"}), {}, Segs({"s1"}), Segs({"s1"}), {}, {}},
        {"two list parts of one alternative each", Alts({"a"}) + "<flv>b<|></flv>", {"a", "b"},
         Alts({"a"}) + "<flv>b<|></flv>", Alts({"a"}) + "<flv>b<|></flv>", {}, {}},
        {"two live alternatives drop the second list part", Alts({"a", "b"}) + "<flv>c<|></flv>", {"a", "b"},
         Alts({"a", "b"}), Alts({"a"}), {"a", "b"}, {"a"}},
        {"a lone terminator holds no item", "<title>T</title><flv><|></flv>", {}, "<title>T</title><flv><|></flv>",
         "<title>T</title><flv><|></flv>", {}, {}},
        {"no list at all", "<title>T</title>", {}, "<title>T</title>", "<title>T</title>", {}, {}},
        {"empty text", "", {}, "", "", {}, {}},
    };
    for (Case& c : cases) {
        Probe all{c.live, {}}, first{c.live, {}};
        EXPECT_EQ(KeepLiveAlternatives(c.text, all.Fn()), c.keepAll) << c.what;
        EXPECT_EQ(KeepFirstLive(c.text, first.Fn()), c.keepFirst) << c.what;
        EXPECT_EQ(all.asked, c.askedAll) << c.what;
        EXPECT_EQ(first.asked, c.askedFirst) << c.what;
    }
    // A long alternative is probed as its first 1203 characters.
    Probe p{{}, {}};
    KeepLiveAlternatives(Alts({std::string(1500, 'l'), "b"}), p.Fn());
    EXPECT_EQ(p.asked.at(0), std::string(1203, 'l'));
}

TEST(ResultText, AddressLines)
{
    struct Case {
        const char* what;
        std::string text;
        bool hasTitle, hasList;
        std::string title, lines;
    } cases[] = {
        {"alternatives: the first only", Alts({"a", "b"}), true, true, "T", "a\r\n"},
        {"segments: one line each", Segs({"s1", "s2", "s3"}), true, true, "T", "s1\r\ns2\r\ns3\r\n"},
        {"a lone terminator: one empty line", "<title>T</title><flv><|></flv>", true, true, "T", "\r\n"},
        {"last segment without its terminator", "<title>T</title><flv>s1<&>s2</flv>", true, true, "T", "s1\r\n"},
        {"a terminator at the start: no lines", "<title>T</title><flv><&>s1<&></flv>", true, true, "T", ""},
        {"no title", "<flv>a<|></flv>", false, true, "", "a\r\n"},
        {"no list", "<title>T</title>", true, false, "T", ""},
        {"two list parts: the first alternative", Alts({"a"}) + "<flv>b<|></flv>", true, true, "T", "a\r\n"},
        {"long alternative cut", Alts({std::string(1500, 'x')}), true, true, "T", std::string(1023, 'x') + "\r\n"},
        {"long title cut", Alts({"a"}, std::string(2000, 't').c_str()), true, true, std::string(1023, 't'), "a\r\n"},
    };
    for (const Case& c : cases) {
        UrlLines u = MakeUrlLines(c.text.c_str(), 131072);
        EXPECT_EQ(u.hasTitle, c.hasTitle) << c.what;
        EXPECT_EQ(u.hasList, c.hasList) << c.what;
        EXPECT_EQ(u.title, c.title) << c.what;
        EXPECT_EQ(u.lines, c.lines) << c.what;
    }
    // Lines stop whole at the bound.
    UrlLines bounded = MakeUrlLines(Segs({"aaaa", "bbbb", "cccc"}).c_str(), 13);
    EXPECT_EQ(bounded.lines, "aaaa\r\nbbbb\r\n");
}

TEST(ResultText, FitToABuffer)
{
    const std::string small = Alts({"a", "b"});
    EXPECT_EQ(FitResultText(small, small.size() + 1), small);
    // Cut: first title and first list part, whole items only.
    std::vector<std::string> items;
    for (int i = 0; i < 400; ++i)
        items.push_back("http://f.youku.com/" + std::to_string(i) + ".flv");
    std::string big = Segs(items) + "<flv>x<|></flv>";
    std::string fitted = FitResultText(big, 4096);
    EXPECT_LT(fitted.size(), 4096u);
    EXPECT_EQ(fitted.compare(0, 21, "<title>T</title><flv>"), 0);
    EXPECT_EQ(fitted.substr(fitted.size() - 13), ".flv<&></flv>");
    std::vector<std::string> kept;
    SplitList(TakeFirstParts(fitted).items.c_str(), "<&>", kept);
    ASSERT_GT(kept.size(), 100u);
    for (size_t i = 0; i < kept.size(); ++i)
        EXPECT_EQ(kept[i], items[i]);
    // A title too long for the buffer is cut, the frame kept.
    std::string fat = Alts({"a"}, std::string(5000, 't').c_str());
    std::string cut = FitResultText(fat, 100);
    EXPECT_EQ(cut, "<title>" + std::string(99 - 26, 't') + "</title><flv></flv>");
    EXPECT_EQ(FitResultText(fat, 10), "");
    // Only the parts the text has; an unclosed list reaches to the text's end; a large
    // buffer keeps more than a list reader's 4095 characters.
    std::string noTitle = "<flv>" + std::string(300, 'a') + "<&>" + std::string(300, 'b') + "<&>";
    EXPECT_EQ(FitResultText(noTitle, 400), "<flv>" + std::string(300, 'a') + "<&></flv>");
    std::string many;
    for (int i = 0; i < 2000; ++i)
        many += "http://f.ku6.com/" + std::to_string(i) + ".flv<|>";
    std::string kept131k = FitResultText("<title>T</title><flv>" + many + many + "</flv>", 131072);
    EXPECT_GT(kept131k.size(), 60000u);
    EXPECT_EQ(kept131k.compare(kept131k.size() - 9, 9, "<|></flv>"), 0);
    // Empty segments only, far more than fit: as many whole terminators as fit.
    std::string empties = "<title>T</title><flv>";
    for (int i = 0; i < 200000; ++i)
        empties += "<&>";
    std::string fittedEmpties = FitResultText(empties + "</flv>", 131072);
    EXPECT_EQ(fittedEmpties, "<title>T</title><flv>" + std::string() + Repeat("<&>", (131071 - 27) / 3) + "</flv>");
}
