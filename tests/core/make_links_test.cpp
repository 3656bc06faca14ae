// Link conversion: table cases with exact expected results, each also checked
// against the step-by-step oracle, and a differential run over generated texts.
#include "make_links.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "make_links_oracle.h"

namespace varno {
namespace {

std::string Web(const std::string& address) {
    return "<A HREF=\"" + address + "\">" + address + "</A>";
}

std::string Mail(const std::string& address) {
    return "<A HREF=\"mailto:" + address + "\">" + address + "</A>";
}

const std::string kDelimiters(" '`()[]<>,;!\"\t\r\n");

struct Case {
    std::string name;
    std::string input;
    std::string expected;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

std::string CaseName(const testing::TestParamInfo<Case>& info) { return info.param.name; }

class LinkConversion : public testing::TestWithParam<Case> {};

TEST_P(LinkConversion, GivesExpectedTextAndAgreesWithOracle) {
    const Case& c = GetParam();
    EXPECT_EQ(MakeLinks(c.input), c.expected);
    EXPECT_EQ(oracle::MakeLinksOracle(c.input), c.expected);
}

std::vector<Case> WebPassCases() {
    std::vector<Case> cases = {
        {"Empty", "", ""},
        {"NoMarker", "plain text, <b>bold</b> & \"quotes\"", "plain text, <b>bold</b> & \"quotes\""},
        {"NoSchemeNotLinked", "see www.example.com or ftp://host/x", "see www.example.com or ftp://host/x"},
        {"SchemeWithExtraLetterNotLinked", "https://secure.example/ httpx://x", "https://secure.example/ httpx://x"},
        {"OnlyAddress", "http://example.com/a", "<A HREF=\"http://example.com/a\">http://example.com/a</A>"},
        {"AtStart", "http://a.b/c is it", Web("http://a.b/c") + " is it"},
        {"AtEndRunsToEnd", "see http://a.b/c?d=e", "see " + Web("http://a.b/c?d=e")},
        {"TrailingFullStopsOutside", "go to http://a.b/c.d... now", "go to " + Web("http://a.b/c.d") + "... now"},
        {"TrailingFullStopAtEnd", "http://a.b.", Web("http://a.b") + "."},
        {"NonDelimitersStayInAddress", "http://h/p?q=1:2&a=b#c%d{e}~ x", Web("http://h/p?q=1:2&a=b#c%d{e}~") + " x"},
        {"QuestionMarkJoinsAddress", "is it http://x? yes", "is it " + Web("http://x?") + " yes"},
        {"LowerUpperMixedCaseKeptAsWritten", "HTTP://A/B hTtP://c/D",
         Web("HTTP://A/B") + " " + Web("hTtP://c/D")},
        {"SchemeAloneBeforeDelimiter", "http:// and", Web("http://") + " and"},
        {"SchemeAloneAtEnd", "see HTTP://", "see " + Web("HTTP://")},
        {"SchemeAloneThenFullStops", "Http://..", Web("Http://") + ".."},
        {"TwoAddresses", "a http://x, b http://y", "a " + Web("http://x") + ", b " + Web("http://y")},
        {"AdjacentSchemes", "http://http://x", Web("http://http://x")},
        {"BytesAbove127Copied", "\xE9t\xE9 http://h/\xE4\xF6 \xFF", "\xE9t\xE9 " + Web("http://h/\xE4\xF6") + " \xFF"},

        // Anchors already in the text.
        {"LinkedAddressKept", "<a href=\"http://x.y\">http://x.y</a> then http://z",
         "<a href=\"http://x.y\">http://x.y</a> then " + Web("http://z")},
        {"LinkedAnyCaseKept", "<A hReF=\"HtTp://X\">t</A> <a HREF=\"http://y\">u</A>",
         "<A hReF=\"HtTp://X\">t</A> <a HREF=\"http://y\">u</A>"},
        {"LinkedWithSingleQuoteKept", "<a href='http://x'>t</a>", "<a href='http://x'>t</a>"},
        {"CharBeforeSchemeNotExamined", "<a href= http://x>t</a> http://y",
         "<a href= http://x>t</a> " + Web("http://y")},
        {"UnquotedTargetGetsAnchorInsideTag", "<a href=http://x>y</a>", "<a href=" + Web("http://x") + ">y</a>"},
        // The remainder is shorter than the window before the scheme, so the
        // clamped window is never compared.
        {"WindowNeedsEightCharactersBefore", "A HREF=http://x </A>", "A HREF=" + Web("http://x") + " </A>"},
        // After an anchor, the window would reach back past the head of the remainder.
        {"WindowLiesInRemainderOnly", "http://A HREF=xhttp://y", Web("http://A") + " HREF=x" + Web("http://y")},
        {"WindowAtVeryStart", "A HREF=\"http://x\" </A> http://y", "A HREF=\"http://x\" </A> " + Web("http://y")},
        {"SkipLeavesClosingBracketAtHead", "<a href=\"http://x\">t</a>http://y",
         "<a href=\"http://x\">t</a>" + Web("http://y")},
        // The closing tag of an earlier anchor ends the first skip; the same
        // address is then tested again until its own closing tag is passed.
        {"EarlierClosingTagFirst", "<a href=\"x\">one</a> <a href=\"http://b\">two</a> then http://c",
         "<a href=\"x\">one</a> <a href=\"http://b\">two</a> then " + Web("http://c")},
        {"LinkedWithoutClosingTagEndsEverything", "x@y.z <a href=\"http://x\">t http://y me@y.org",
         "x@y.z <a href=\"http://x\">t http://y me@y.org"},
        {"EarlierClosingTagThenNoneEndsEverything", "</a> <a href=\"http://x\">t me@y.org",
         "</a> <a href=\"http://x\">t me@y.org"},
    };
    // Each of the 16 delimiters ends an address.
    for (std::size_t i = 0; i < kDelimiters.size(); ++i) {
        const std::string d(1, kDelimiters[i]);
        cases.push_back({"EndsAtDelimiter" + std::to_string(i), "(http://h/p" + d + "x", "(" + Web("http://h/p") + d + "x"});
    }
    return cases;
}

std::vector<Case> MailPassCases() {
    std::vector<Case> cases = {
        {"OnlyAddress", "joe@example.com", "<A HREF=\"mailto:joe@example.com\">joe@example.com</A>"},
        {"AfterTextWithSentenceEnd", "Write to joe.b@example.com.", "Write to " + Mail("joe.b@example.com") + "."},
        {"TwoAddresses", "a@b, c@d", Mail("a@b") + ", " + Mail("c@d")},
        {"OneDelimiterBetween", "a@b,c@d", Mail("a@b") + "," + Mail("c@d")},
        {"LoneAt", "x @ y", "x " + Mail("@") + " y"},
        {"LoneAtThenFullStop", "@.", Mail("@") + "."},
        {"TwoAtsOneWord", "a@b@c d", Mail("a@b@c") + " d"},
        {"ColonIsNotADelimiter", "mail:joe@x.org", Mail("mail:joe@x.org")},
        {"UpperCaseMailtoDoesNotCount", "MAILTO:ann@y.org", Mail("MAILTO:ann@y.org")},

        // With "mailto:" in the text, an "@" with no delimiter between the
        // last colon (or the head of the remainder) and itself is taken to be
        // inside an anchor.
        {"MailtoAnchorKeptOthersLinked", "<A HREF=\"mailto:joe@x.org\">joe@x.org</A> and ann@y.org",
         "<A HREF=\"mailto:joe@x.org\">joe@x.org</A> and " + Mail("ann@y.org")},
        {"MailtoFirstWordNoClosingTag", "mailto:ann@y.org", "mailto:ann@y.org"},
        {"MailtoFirstWordWithoutColon", "ann@y.org wrote mailto:", "ann@y.org wrote mailto:"},
        {"MailtoFirstWordSkipsToClosingTag", "ann@y.org</A> bob@z.org mailto:",
         "ann@y.org</A> " + Mail("bob@z.org") + " mailto:"},
        {"MailtoLowerCaseClosingTagEndsEverything", "<a href=\"mailto:joe@x.org\">joe@x.org</a> and ann@y.org",
         "<a href=\"mailto:joe@x.org\">joe@x.org</a> and ann@y.org"},
        {"MailtoDelimiterAfterColonLinks", "mailto: joe@x.org", "mailto: " + Mail("joe@x.org")},
        // The flag is noted once: it holds after the remainder has left
        // "mailto:" behind.
        {"MailtoFlagKeptForWholePass", "mailto:x a@b c:d@e", "mailto:x " + Mail("a@b") + " c:d@e"},
        {"MailtoClosingTagBeforeAt", "mailto: </A></A>:ab@c</A> d@e",
         "mailto: </A></A>:ab@c</A> " + Mail("d@e")},
    };
    // Each of the 16 delimiters starts and ends an address.
    for (std::size_t i = 0; i < kDelimiters.size(); ++i) {
        const std::string d(1, kDelimiters[i]);
        cases.push_back({"BetweenDelimiters" + std::to_string(i), "x" + d + "a.b@c.d" + d + "y",
                         "x" + d + Mail("a.b@c.d") + d + "y"});
    }
    return cases;
}

std::vector<Case> BothPassesCases() {
    return {
        {"LinksBothKinds", "see http://x/ or mail a@b.", "see " + Web("http://x/") + " or mail " + Mail("a@b") + "."},
        // Without "mailto:" the e-mail pass wraps a web address holding "@"
        // again, in the target and in the link text.
        {"WebAddressWithAtLinkedTwice", "http://u@h/x",
         "<A HREF=\"" + Mail("http://u@h/x") + "\">" + Mail("http://u@h/x") + "</A>"},
        {"WebAddressWithAtKeptWithMailto", "mailto: http://u@h/x", "mailto: " + Web("http://u@h/x")},
        {"MailInExistingWebAnchorLinked", "<a href=\"http://x\">me@y.org</a>",
         "<a href=\"http://x\">" + Mail("me@y.org") + "</a>"},
        {"WebSkipHeadStartsMailAddress", "<A HREF=\"http://x\">y</A>z@w", "<A HREF=\"http://x\">y</A>" + Mail("z@w")},
        {"WebEndsEarlyNoMailLinked", "a@b <a href=\"http://x\">t", "a@b <a href=\"http://x\">t"},
    };
}

INSTANTIATE_TEST_SUITE_P(WebPass, LinkConversion, testing::ValuesIn(WebPassCases()), CaseName);
INSTANTIATE_TEST_SUITE_P(MailPass, LinkConversion, testing::ValuesIn(MailPassCases()), CaseName);
INSTANTIATE_TEST_SUITE_P(BothPasses, LinkConversion, testing::ValuesIn(BothPassesCases()), CaseName);

// Texts built from the pieces the conversion reacts to, so that markers,
// anchors, colons and delimiters meet in every order.
std::string RandomText(std::mt19937& rng, int maxTokens) {
    static const std::vector<std::string> kTokens = {
        "http://", "HTTP://", "hTtP://", "http:/", "ttp://", "@",   "A HREF=\"", "a href=", "<a href=\"",
        "A HREF=", "</A>",    "</a>",    "</A",    "mailto:", "MAILTO:", ".", "..",   ":",
        " ",       "'",       "`",       "(",      ")",       "[",       "]", "<",    ">",
        ",",       ";",       "!",       "\"",     "\t",      "\r",      "\n", "a",   "x",
        "h",       "p",       "A",       "/",      "?",       "=",       "\xE9", std::string(1, '\0'),
    };
    std::uniform_int_distribution<int> count(0, maxTokens);
    std::uniform_int_distribution<std::size_t> pick(0, kTokens.size() - 1);
    std::string text;
    for (int n = count(rng); n > 0; --n) text += kTokens[pick(rng)];
    return text;
}

TEST(LinkConversionDifferential, AgreesWithOracleOnGeneratedTexts) {
    std::mt19937 rng(20240611);
    for (int i = 0; i < 4000; ++i) {
        const std::string text = RandomText(rng, i % 10 == 0 ? 300 : 30);
        const std::string expected = oracle::MakeLinksOracle(text);
        ASSERT_EQ(MakeLinks(text), expected) << "input #" << i << ": \"" << text << "\"";
    }
}

}  // namespace
}  // namespace varno
