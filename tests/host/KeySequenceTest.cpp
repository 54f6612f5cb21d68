#include "host/KeySequence.h"

#include <gtest/gtest.h>

#include "support/RecordingHostWindows.h"

namespace {

using parvane::host::KeyStroke;
using parvane::host::parseKeySequence;

TEST(KeySequence, GroupPreselectionIsAltFThenUpperCaseG)
{
    const auto keys = parseKeySequence(parvane::host::kGroupPreselectionKeys);
    ASSERT_TRUE(keys);
    ASSERT_EQ(keys->size(), 2u);
    EXPECT_EQ((*keys)[0], (KeyStroke{.alt = true, .character = U'f'}));
    EXPECT_EQ((*keys)[1], (KeyStroke{.character = U'G'}));
}

TEST(KeySequence, ModifiersHoldForTheNextKeyOnly)
{
    const auto keys = parseKeySequence("^+ab%");
    EXPECT_FALSE(keys) << "a sequence ending with a modifier";
    const auto parsed = parseKeySequence("^+ab");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parvane::test::keyNotation(*parsed), "^+ab");
    EXPECT_FALSE((*parsed)[1].control);
}

TEST(KeySequence, NamesThePageKeysReturnAndEscape)
{
    using parvane::host::NamedKey;
    const auto keys = parseKeySequence("{PGDN}{pgup}~{Enter}+{ESC}");
    ASSERT_TRUE(keys);
    ASSERT_EQ(keys->size(), 5u);
    EXPECT_EQ((*keys)[0].named, NamedKey::PageDown);
    EXPECT_EQ((*keys)[1].named, NamedKey::PageUp);
    EXPECT_EQ((*keys)[2].named, NamedKey::Return);
    EXPECT_EQ((*keys)[3].named, NamedKey::Return);
    EXPECT_EQ((*keys)[4], (KeyStroke{.shift = true, .named = NamedKey::Escape}));
}

TEST(KeySequence, RefusesGroupsOtherNamesAndNonAscii)
{
    EXPECT_FALSE(parseKeySequence("{F1}"));
    EXPECT_FALSE(parseKeySequence("{PGDN 3}"));
    EXPECT_FALSE(parseKeySequence("{PGDN"));
    EXPECT_FALSE(parseKeySequence("}"));
    EXPECT_FALSE(parseKeySequence("%(fg)"));
    EXPECT_FALSE(parseKeySequence("\xE9"));
    EXPECT_FALSE(parseKeySequence("\t"));
    ASSERT_TRUE(parseKeySequence(""));
    EXPECT_TRUE(parseKeySequence("")->empty());
}

} // namespace
