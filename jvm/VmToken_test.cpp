#include "VmToken.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Vm {
    const char* name;
    VmKind kind;
    JavaVersion version;
};

const Vm kJre16_20{"JRE 1.6.0_20", VmKind::JRE, JavaVersion(6, 0, 20)};
const Vm kJre16_45{"JRE 1.6.0_45", VmKind::JRE, JavaVersion(6, 0, 45)};
const Vm kJdk16{"JDK 1.6.0_20", VmKind::JDK, JavaVersion(6, 0, 20)};
const Vm kJre17{"JRE 1.7.0", VmKind::JRE, JavaVersion(7, 0, 0)};
const Vm kJre15{"JRE 1.5.0_22", VmKind::JRE, JavaVersion(5, 0, 22)};
const Vm kJdk11{"JDK 11.0.2", VmKind::JDK, JavaVersion(11, 0, 2)};
const Vm kJdk142{"JDK 1.4.2_19", VmKind::JDK, JavaVersion(4, 2, 19)};
const Vm kJdk141{"JDK 1.4.1_07", VmKind::JDK, JavaVersion(4, 1, 7)};
const Vm kJre142{"JRE 1.4.2_05", VmKind::JRE, JavaVersion(4, 2, 5)};
const Vm kOld{"JRE 1.1", VmKind::JRE, JavaVersion(1, 0, 0)};
const Vm kOldJdk{"JDK 1.1", VmKind::JDK, JavaVersion(1, 0, 0)};
const Vm kMsj{"MSJ", VmKind::MSJ, JavaVersion(1, 4, 0)};  // the Microsoft VM is always 1.4.0

int NoValidator(const std::wstring&) {
    ADD_FAILURE() << "the validator ran for a token without an argument";
    return -1;
}

struct TokenCase {
    const wchar_t* token;
    std::vector<Vm> matching;
    std::vector<Vm> notMatching;
};

TEST(VmToken, MatchesKeywordsAndPatterns) {
    const TokenCase cases[] = {
        {L"jre_j2", {kJre16_20, kJre17}, {kJdk16, kOld, kMsj}},
        {L"JRE_J1", {kOld}, {kOldJdk, kJre17, kMsj}},
        {L"JDK_J1", {kOldJdk}, {kOld, kJdk11}},
        {L"JDK_J2", {kJdk16, kJdk11}, {kOldJdk, kJre17}},
        {L"J1", {kOld, kOldJdk}, {kMsj, kJre17}},
        {L"J2", {kJre17, kJdk11}, {kOld, kMsj}},
        {L"JDK", {kJdk16, kOldJdk}, {kJre17, kMsj}},
        {L"JRE", {kJre17, kOld}, {kJdk16, kMsj}},
        {L"msj", {kMsj}, {kJre17}},
        {L"ALL", {kMsj, kOld, kJdk11}, {}},
        {L"1.6+", {kJre16_20, kJre17, kJdk11}, {kJre15}},
        {L"JRE_1.6*", {kJre16_20, kJre16_45}, {kJdk16, kJre17, kJre15}},
        {L"JDK_1.4.2*", {kJdk142}, {kJdk141, kJre142}},
        {L"1.6.0", {kJre16_20, kJre16_45, kJdk16}, {kJre17}},
        {L"1.6.0_20", {kJre16_20, kJdk16}, {kJre16_45}},
        {L"jre_1.6.0_20", {kJre16_20}, {kJdk16, kJre16_45}},
        {L"ALL_1.7+", {kJre17, kJdk11}, {kJre16_20}},
        {L"11.0.2", {kJdk11}, {kJre17}},
        {L"1.6.1*", {}, {kJre16_20}},
        {L"1.6_3*", {}, {kJre16_20}},  // a family pattern with an update matches nothing
        {L"JDK", {}, {kJre142}},
        {L"JRE_", {kJre17}, {kJdk11}},
    };
    for (const TokenCase& c : cases) {
        for (const Vm& vm : c.matching)
            EXPECT_TRUE(MatchesToken(c.token, vm.kind, vm.version, NoValidator))
                << testing::PrintToString(std::wstring(c.token)) << " should match " << vm.name;
        for (const Vm& vm : c.notMatching)
            EXPECT_FALSE(MatchesToken(c.token, vm.kind, vm.version, NoValidator))
                << testing::PrintToString(std::wstring(c.token)) << " should not match "
                << vm.name;
    }
}

TEST(VmToken, SplitsCompositeTokens) {
    struct Case {
        const wchar_t* token;
        VmToken expected;
    };
    const Case cases[] = {
        {L"JRE_1.6.0_20", {L"", L"JRE", L"1.6.0_20"}},
        {L"CHECK__JDK_1.6+", {L"CHECK", L"JDK", L"1.6+"}},
        {L"FIRST_SECOND_ALL", {L"SECOND", L"ALL", L""}},
        {L"JRE_JDK", {L"", L"JDK", L""}},
        {L"1..6", {L"1..6", L"", L""}},
        {L"_", {L"", L"", L""}},
    };
    for (const Case& c : cases) {
        const VmToken t = SplitToken(c.token);
        EXPECT_EQ(t.validatorArgument, c.expected.validatorArgument) << testing::PrintToString(std::wstring(c.token));
        EXPECT_EQ(t.category, c.expected.category) << testing::PrintToString(std::wstring(c.token));
        EXPECT_EQ(t.versionPattern, c.expected.versionPattern) << testing::PrintToString(std::wstring(c.token));
    }
}

TEST(VmToken, RecognisesVersionPatterns) {
    for (const wchar_t* text : {L"1.6+", L"1.6*", L"1.4.2*", L"20", L"1.6.0", L"*", L"+"})
        EXPECT_TRUE(IsVersionPattern(text)) << testing::PrintToString(std::wstring(text));
    for (const wchar_t* text : {L"", L".1", L"1.", L"1..6", L"1+6", L"1.6a", L"+1", L"1.6++"})
        EXPECT_FALSE(IsVersionPattern(text)) << testing::PrintToString(std::wstring(text));
}

TEST(VmToken, RunsTheValidatorWithTheUpperCaseArgumentFirst) {
    std::vector<std::wstring> runs;
    auto validator = [&](int code) {
        return [&runs, code](const std::wstring& argument) {
            runs.push_back(argument);
            return code;
        };
    };
    EXPECT_TRUE(MatchesToken(L"myCheck_jre_1.6+", VmKind::JRE, JavaVersion(8, 0, 0), validator(0)));
    EXPECT_FALSE(MatchesToken(L"mycheck", VmKind::JRE, JavaVersion(8, 0, 0), validator(1)));
    EXPECT_FALSE(MatchesToken(L"mycheck", VmKind::JRE, JavaVersion(8, 0, 0), validator(-1)));
    // The validator runs even when the category would reject the VM afterwards.
    EXPECT_FALSE(MatchesToken(L"other_JDK", VmKind::JRE, JavaVersion(8, 0, 0), validator(0)));
    EXPECT_EQ(runs, (std::vector<std::wstring>{L"MYCHECK", L"MYCHECK", L"MYCHECK", L"OTHER"}));
}

}  // namespace
