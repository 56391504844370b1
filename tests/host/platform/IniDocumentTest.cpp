#include "host/platform/IniDocument.h"

#include <gtest/gtest.h>

using korvane::platform::IniDocument;

namespace {

const std::string kOddFile =
    "; user data sources\r\n"
    "[ODBC Data Sources]\r\n"
    "Books = MDBTools\r\n"
    "\r\n"
    "#  keep me\r\n"
    "[Books]\r\n"
    "  Driver   =MDBTools  \r\n"
    "Database=/srv/books.mdb\r\n"
    "; lead-in of the next section\r\n"
    "\r\n"
    "[Last]\r\n"
    "Driver=x";

} // namespace

TEST(IniDocument, ParsingAndPrintingKeepsEveryByte)
{
    EXPECT_EQ(IniDocument::Parse(kOddFile).Text(), kOddFile);
    EXPECT_EQ(IniDocument::Parse("").Text(), "");
    EXPECT_EQ(IniDocument::Parse("\n\n[a]\nx\n").Text(), "\n\n[a]\nx\n");
}

TEST(IniDocument, ReadsSectionsAndEntriesWithoutRegardToCase)
{
    IniDocument document = IniDocument::Parse(kOddFile);
    EXPECT_EQ(document.SectionNames(), (std::vector<std::string>{"ODBC Data Sources", "Books", "Last"}));
    EXPECT_EQ(document.Value("books", "DRIVER"), "MDBTools");
    EXPECT_EQ(document.Value("odbc data sources", "books"), "MDBTools");
    EXPECT_FALSE(document.Value("Books", "Missing"));
    EXPECT_FALSE(document.Entries("Nowhere"));
}

TEST(IniDocument, AddingThenRemovingASectionRestoresTheFile)
{
    std::string original = kOddFile + "\r\n";
    IniDocument document = IniDocument::Parse(original);
    document.WriteSection("New", {{"Driver", "d"}, {"DBQ", "/x.mdb"}});
    document.SetValue("ODBC Data Sources", "New", "d");
    std::string added = document.Text();
    EXPECT_NE(added.find("[New]\r\nDriver=d\r\nDBQ=/x.mdb\r\n"), std::string::npos) << added;
    EXPECT_NE(added.find("Books = MDBTools\r\nNew=d\r\n\r\n#  keep me"), std::string::npos) << added;

    EXPECT_TRUE(document.RemoveSection("new"));
    EXPECT_TRUE(document.RemoveValue("ODBC Data Sources", "NEW"));
    EXPECT_EQ(document.Text(), original);
    EXPECT_FALSE(document.RemoveSection("new"));
}

TEST(IniDocument, ReplacingASectionKeepsItsPlaceAndItsNeighbours)
{
    IniDocument document = IniDocument::Parse(kOddFile);
    document.WriteSection("BOOKS", {{"Driver", "other"}});
    std::string expected = kOddFile;
    expected.replace(expected.find("[Books]"), std::string("[Books]\r\n  Driver   =MDBTools  \r\nDatabase=/srv/books.mdb").size(),
        "[BOOKS]\r\nDriver=other");
    EXPECT_EQ(document.Text(), expected);

    // The last section of a file without a final newline stays without one.
    document.WriteSection("Last", {{"Driver", "y"}});
    EXPECT_EQ(document.Text().substr(document.Text().size() - 16), "[Last]\r\nDriver=y");
}

TEST(IniDocument, SetValueChangesOnlyTheValue)
{
    IniDocument document = IniDocument::Parse("[s]\nKey = old\nOther=1\n");
    document.SetValue("s", "key", "new");
    document.SetValue("s", "Added", "2");
    EXPECT_EQ(document.Text(), "[s]\nKey = new\nOther=1\nAdded=2\n");

    IniDocument unterminated = IniDocument::Parse("[s]\nA=1");
    unterminated.SetValue("s", "B", "2");
    unterminated.SetValue("t", "C", "3");
    EXPECT_EQ(unterminated.Text(), "[s]\nA=1\nB=2\n[t]\nC=3\n");
}
