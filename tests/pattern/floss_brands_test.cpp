#include "pattern/floss_brands.h"

#include <gtest/gtest.h>

#include "base/exceptions.h"
#include "tests/support/floss_table.h"

namespace {

FlossTable Table(const std::string& rows) {
  return FlossTable::FromBytes("number\tdescription\tred\tgreen\tblue\n" + rows, "test");
}

TEST(FlossTableTest, MatchesExactlyThenIgnoringLetterCase) {
  const FlossTable table = Table(
      "Ecru\tEcru exact\t1\t2\t3\necru\tecru lower\t1\t2\t3\n"
      "310\tBlack\t0\t0\t0\r\nBlanc\tWhite\t9\t9\t9\n");
  EXPECT_EQ(table.Description("ecru"), "ecru lower");
  EXPECT_EQ(table.Description("Ecru"), "Ecru exact");
  EXPECT_EQ(table.Description("BLANC"), "White");
  EXPECT_EQ(table.Description("310"), "Black");
  EXPECT_EQ(table.Description("311"), "");
  EXPECT_EQ(table.Description("310+blanc"), "Black + White");
  EXPECT_EQ(table.Description("310+999"), "");  // half a blend names nothing
  EXPECT_THROW(Table("310\tBlack\t0\t0\n"), EInOutError);
  EXPECT_THROW(FlossTable::Load("/nonexistent/dmc.tsv"), EInOutError);
}

TEST(FlossTableTest, ProjectTablesLoadWhole) {
  const FlossBrands brands = FlossBrands::Load(std::string(PUNTEL_RUNTIME_DIR) + "/");
  for (const auto& [brand, file] : {std::pair{FlossBrand::kDmc, "dmc.tsv"},
                                    {FlossBrand::kAnchor, "anchor.tsv"},
                                    {FlossBrand::kMadeira, "madeira.tsv"}}) {
    for (const FlossRow& row : ReadFlossTable(file))
      ASSERT_TRUE(brands.Table(brand).Find(row.number)) << file << " " << row.number;
  }
  EXPECT_EQ(brands.Table(FlossBrand::kDmc).Description("310"), "Black");
}

TEST(FlossBrandsTest, MostThreadsHeldWinsTiesInBrandOrder) {
  FlossBrands brands;
  brands.SetTable(FlossBrand::kDmc, Table("310\ta\t0\t0\t0\nBlanc\tb\t0\t0\t0\n"));
  brands.SetTable(FlossBrand::kAnchor, Table("1\tc\t0\t0\t0\n2\td\t0\t0\t0\n403\te\t0\t0\t0\n"));
  brands.SetTable(FlossBrand::kMadeira, Table("1\tf\t0\t0\t0\n2\tg\t0\t0\t0\n403\th\t0\t0\t0\n"));
  EXPECT_EQ(brands.Choose({"310", "blanc", "1"}), FlossBrand::kDmc);
  EXPECT_EQ(brands.Choose({"310", "1", "2"}), FlossBrand::kAnchor);  // Madeira ties, later
  EXPECT_EQ(brands.Choose({"310", "1"}), FlossBrand::kDmc);          // a three-way tie
  EXPECT_EQ(brands.Choose({"zzz"}), FlossBrand::kDmc);
  EXPECT_EQ(brands.Resolve(*ParseBrandRequest("madeira"), {"310"}), FlossBrand::kMadeira);
  EXPECT_EQ(brands.Resolve(*ParseBrandRequest("None"), {"310"}), FlossBrand::kNone);
  EXPECT_EQ(brands.Resolve(*ParseBrandRequest("auto"), {"403"}), FlossBrand::kAnchor);
  EXPECT_FALSE(ParseBrandRequest("coats"));
  EXPECT_EQ(BrandLabel(FlossBrand::kAnchor), "Anchor");
  EXPECT_EQ(BrandLabel(FlossBrand::kNone), "");
}

}  // namespace
