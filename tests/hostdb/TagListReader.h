// Test-only reader of tag-list files: decodes every key on its own terms and walks the tree,
// checking the links, counts, order and coverage a sound file must have.
#pragma once

#include "support/TestUtil.h"

#include <cstdint>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <vector>

namespace taglisttest {

struct Key {
    int kind = 0;
    std::string text1, text2;
    int number = 0;
    std::string raw; // the 26 stored bytes
};

// Kind 0 by list, number, ticker; kind 1 by ticker, list, number; texts by their first 8
// characters as unsigned bytes.
inline bool KeyLess(const Key& a, const Key& b) {
    auto t = [](const std::string& s) { return s.substr(0, 8); };
    if (a.kind != b.kind) return a.kind < b.kind;
    if (a.kind == 0)
        return std::make_tuple(t(a.text1), a.number, t(a.text2)) <
               std::make_tuple(t(b.text1), b.number, t(b.text2));
    return std::make_tuple(t(a.text1), t(a.text2), a.number) <
           std::make_tuple(t(b.text1), t(b.text2), b.number);
}

// A key laid out as the file format says, or an empty raw text when the bytes do not decode.
inline Key DecodeKey(const std::string& raw) {
    Key k;
    std::size_t at = 2;
    auto byte = [&](std::size_t i) {
        return i < raw.size() ? static_cast<std::uint8_t>(raw[i]) : 0;
    };
    auto text = [&](std::string& out) {
        int n = byte(at) - 32;
        if (n < 0 || at + 1 + static_cast<std::size_t>(n) > raw.size()) return false;
        out = raw.substr(at + 1, static_cast<std::size_t>(n));
        at += 1 + static_cast<std::size_t>(n);
        return true;
    };
    auto zero = [&] { return byte(at++) == 0; };
    auto number = [&] {
        if (byte(at) != 'B' || at + 3 > raw.size()) return false;
        k.number = byte(at + 1) + 256 * byte(at + 2);
        at += 3;
        return true;
    };
    bool ok = raw.size() == 26 && byte(0) == 0xA1 && byte(1) <= 1;
    k.kind = byte(1);
    if (ok && k.kind == 0) ok = text(k.text1) && zero() && number() && text(k.text2);
    if (ok && k.kind == 1) ok = text(k.text1) && zero() && text(k.text2) && zero() && number();
    while (ok && at < raw.size()) ok = zero();
    if (ok) k.raw = raw;
    return k;
}

struct Contents {
    std::string error;     // the first broken rule; empty for a sound file
    std::vector<Key> keys; // in tree order
    int pages = 0;
};

namespace detail {

inline std::int32_t I32(const std::string& b, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<std::uint8_t>(b[at + i]);
    return static_cast<std::int32_t>(v);
}
inline int I16(const std::string& b, std::size_t at) {
    return static_cast<std::int16_t>(static_cast<std::uint8_t>(b[at]) |
                                     (static_cast<std::uint8_t>(b[at + 1]) << 8));
}
inline bool Zero(const std::string& b, std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i)
        if (b[i] != 0) return false;
    return true;
}

struct Walker {
    const std::string& b;
    Contents& c;
    int firstLeaf;
    std::vector<int> seen;
    std::vector<std::vector<int>> levels;
    int leafDepth = -1;

    std::string Page(int p) const { return b.substr(static_cast<std::size_t>(p) * 512, 512); }
    bool Fail(const std::string& what, int page) {
        if (c.error.empty()) c.error = what + " (page " + std::to_string(page) + ")";
        return false;
    }

    // Appends the keys of the subtree in order; lo and hi bound them from outside.
    bool Walk(int page, int parent, std::size_t depth, const Key* lo, const Key* hi) {
        if (page < 1 || page >= c.pages) return Fail("no such page", page);
        if (seen[static_cast<std::size_t>(page)]++) return Fail("page reached twice", page);
        std::string p = Page(page);
        int type = I16(p, 0), count = I16(p, 14), leftmost = I32(p, 16);
        if (type != 0 && type != 1) return Fail("bad page type", page);
        if (I32(p, 2) != parent) return Fail("wrong parent", page);
        if (count < 1 || count > 16) return Fail("entry count out of 1..16", page);
        if (!Zero(p, 20 + 30 * static_cast<std::size_t>(count), 512))
            return Fail("free entries or tail not zero", page);
        if (levels.size() <= depth) levels.resize(depth + 1);
        levels[depth].push_back(page);
        std::vector<Key> keys;
        for (int i = 0; i < count; ++i) {
            keys.push_back(DecodeKey(p.substr(20 + 30 * static_cast<std::size_t>(i), 26)));
            if (keys.back().raw.empty()) return Fail("undecodable key", page);
        }
        if (type == 0) {
            if (leafDepth < 0) leafDepth = static_cast<int>(depth);
            if (leafDepth != static_cast<int>(depth)) return Fail("leaves at two depths", page);
            if (leftmost != (page == firstLeaf ? 0 : 1)) return Fail("leaf's child field", page);
        } else if (!Walk(leftmost, page, depth + 1, lo, &keys[0])) {
            return false;
        }
        for (int i = 0; i < count; ++i) {
            const Key& k = keys[static_cast<std::size_t>(i)];
            if (!c.keys.empty() && !KeyLess(c.keys.back(), k))
                return Fail("keys out of order", page);
            if ((lo && !KeyLess(*lo, k)) || (hi && !KeyLess(k, *hi)))
                return Fail("key outside its parent's range", page);
            c.keys.push_back(k);
            int value = I32(p, 20 + 30 * static_cast<std::size_t>(i) + 26);
            if (type == 0 && value != 1) return Fail("leaf value not 1", page);
            const Key* upper = i + 1 < count ? &keys[static_cast<std::size_t>(i) + 1] : hi;
            if (type == 1 && !Walk(value, page, depth + 1, &k, upper)) return false;
        }
        return true;
    }
};

} // namespace detail

// Reads a whole tag-list file and checks it; Contents::error names the first fault.
inline Contents ReadTagList(const std::string& b) {
    using namespace detail;
    Contents c;
    if (b.size() < 512 || b.size() % 512) {
        c.error = "size is not a whole number of pages";
        return c;
    }
    c.pages = static_cast<int>(b.size() / 512);
    int root = I32(b, 44), first = I32(b, 52), last = I32(b, 56);
    if (static_cast<std::uint16_t>(I16(b, 0)) != 329 || I32(b, 2) != 0 || I32(b, 6) != c.pages ||
        b.compare(10, 8, std::string("ordered\0", 8)) != 0 || !Zero(b, 18, 42) || I16(b, 42) != 1 ||
        I16(b, 48) != 26 || I16(b, 50) != 16 || !Zero(b, 60, 512)) {
        c.error = "bad header";
        return c;
    }
    if (c.pages == 1) {
        if (root || first || last) c.error = "empty file with tree pages named";
        return c;
    }
    Walker w{b, c, first, std::vector<int>(static_cast<std::size_t>(c.pages), 0), {}};
    if (!w.Walk(root, 0, 0, nullptr, nullptr)) return c;
    for (int p = 1; p < c.pages; ++p) {
        if (w.seen[static_cast<std::size_t>(p)] != 1) {
            w.Fail("page not in the tree", p);
            return c;
        }
    }
    for (const std::vector<int>& level : w.levels) {
        for (std::size_t i = 0; i < level.size(); ++i) {
            std::string p = w.Page(level[i]);
            int prev = i ? level[i - 1] : 0, next = i + 1 < level.size() ? level[i + 1] : 0;
            if (I32(p, 6) != prev || I32(p, 10) != next) {
                w.Fail("sibling links", level[i]);
                return c;
            }
        }
    }
    const std::vector<int>& leaves = w.levels[static_cast<std::size_t>(w.leafDepth)];
    if (leaves.front() != first || leaves.back() != last) c.error = "first or last leaf in header";
    return c;
}

// The tickers of list name in position order, from the kind-0 keys.
inline std::vector<std::string> ListTickers(const Contents& c, const std::string& name) {
    std::vector<std::string> tickers;
    for (const Key& k : c.keys)
        if (k.kind == 0 && k.text1 == name) tickers.push_back(k.text2);
    return tickers;
}

// Runs a test in a fresh directory: a tag list with a bare or host-style file name writes itself
// there when it goes out of scope.
class InTempDir : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = std::filesystem::current_path();
        std::filesystem::current_path(tmp_.Path());
    }
    void TearDown() override { std::filesystem::current_path(saved_); }
    testutil::TempDir tmp_;

private:
    std::filesystem::path saved_;
};

} // namespace taglisttest
