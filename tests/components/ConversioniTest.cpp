#include "components/Conversioni.h"

#include <gtest/gtest.h>

TEST(Conversioni, CtringToIntReadsDecimalOrGivesZero)
{
    EXPECT_EQ(CConversioni::CtringToInt(QStringLiteral("179")), 179);
    EXPECT_EQ(CConversioni::CtringToInt(QStringLiteral(" 0180 ")), 180);
    EXPECT_EQ(CConversioni::CtringToInt(QStringLiteral("-12")), -12);
    EXPECT_EQ(CConversioni::CtringToInt(QStringLiteral("12abc")), 0);
    EXPECT_EQ(CConversioni::CtringToInt(QStringLiteral("0x10")), 0);
    EXPECT_EQ(CConversioni::CtringToInt(QString()), 0);
    EXPECT_EQ(CConversioni::CtringToInt(QStringLiteral("99999999999")), 0);
}

TEST(Conversioni, CleanCharRemovesEveryOccurrence)
{
    EXPECT_EQ(CConversioni::CleanCharInCString(QStringLiteral("1.8.0"), QLatin1Char('.')),
              QStringLiteral("180"));
    EXPECT_EQ(CConversioni::CleanCharInCString(QStringLiteral("logo.v2.lgo"), QLatin1Char('.')),
              QStringLiteral("logov2lgo"));
    EXPECT_EQ(CConversioni::CleanCharInCString(QStringLiteral("abc"), QLatin1Char('x')),
              QStringLiteral("abc"));
}

TEST(Conversioni, IsReleaseAcceptsDottedDigitGroupsOnly)
{
    EXPECT_TRUE(CConversioni::IsRelease(QStringLiteral("1.23")));
    EXPECT_TRUE(CConversioni::IsRelease(QStringLiteral("01.02.03")));
    EXPECT_FALSE(CConversioni::IsRelease(QStringLiteral("123")));
    EXPECT_FALSE(CConversioni::IsRelease(QStringLiteral("1..2")));
    EXPECT_FALSE(CConversioni::IsRelease(QStringLiteral(".12")));
    EXPECT_FALSE(CConversioni::IsRelease(QStringLiteral("1.2.")));
    EXPECT_FALSE(CConversioni::IsRelease(QStringLiteral("1.2a")));
    EXPECT_FALSE(CConversioni::IsRelease(QStringLiteral(" 1.2")));
    EXPECT_FALSE(CConversioni::IsRelease(QString()));
}

TEST(Conversioni, BreakStringSplitsAtTheFirstSeparator)
{
    QString before = QStringLiteral("x");
    QString after = QStringLiteral("y");
    EXPECT_TRUE(CConversioni::BreakString(QStringLiteral("WGJ33|CfgFile\\WGJ33.cfg|z"),
                                          QLatin1Char('|'), &before, &after));
    EXPECT_EQ(before, QStringLiteral("WGJ33"));
    EXPECT_EQ(after, QStringLiteral("CfgFile\\WGJ33.cfg|z"));
    EXPECT_TRUE(CConversioni::BreakString(QStringLiteral("|"), QLatin1Char('|'), &before, &after));
    EXPECT_TRUE(before.isEmpty() && after.isEmpty());

    before = QStringLiteral("keep");
    EXPECT_FALSE(CConversioni::BreakString(QStringLiteral("no bar"), QLatin1Char('|'), &before, &after));
    EXPECT_EQ(before, QStringLiteral("keep"));
    EXPECT_TRUE(CConversioni::BreakString(QStringLiteral("a|b"), QLatin1Char('|'), nullptr, nullptr));
}
