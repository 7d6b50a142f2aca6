#include <gtest/gtest.h>

#include "form.h"

TEST(FormCreate, StartsWithIdentityBoxes) {
    TForm1 form;
    EXPECT_EQ(form.RichEdit1, (Lines{"1 0 0", "0 1 0", "0 0 1"}));
    EXPECT_EQ(form.RichEdit2, form.RichEdit1);
    EXPECT_TRUE(form.RichEdit3.empty());
    EXPECT_EQ(form.Edit1, "1");
    EXPECT_EQ(form.ComboBox1, "3");
    EXPECT_EQ(form.PrecisionScale, 1000);
}
