#include "lexicon/english_base_forms.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tamrel {
namespace {

bool Offers(std::u16string_view word, std::u16string_view base) {
  const std::vector<std::u16string> forms = EnglishBaseForms(word);
  return std::find(forms.begin(), forms.end(), base) != forms.end();
}

TEST(EnglishBaseFormsTest, IrregularFormsComeFirst) {
  EXPECT_EQ(EnglishBaseForms(u"went").front(), u"go");
  EXPECT_EQ(EnglishBaseForms(u"children").front(), u"child");
  EXPECT_EQ(EnglishBaseForms(u"leaves").front(), u"leaf");  // before the regular "leave"
  EXPECT_EQ(EnglishBaseForms(u"ate").front(), u"eat");
}

TEST(EnglishBaseFormsTest, RegularEndings) {
  EXPECT_EQ(EnglishBaseForms(u"apples").front(), u"apple");
  EXPECT_TRUE(Offers(u"boxes", u"box"));
  EXPECT_TRUE(Offers(u"cities", u"city"));
  EXPECT_TRUE(Offers(u"tried", u"try"));
  EXPECT_EQ(EnglishBaseForms(u"used").front(), u"use");  // not "us"
  EXPECT_TRUE(Offers(u"walked", u"walk"));
  EXPECT_TRUE(Offers(u"stopped", u"stop"));
  EXPECT_TRUE(Offers(u"walking", u"walk"));
  EXPECT_TRUE(Offers(u"making", u"make"));
  EXPECT_TRUE(Offers(u"running", u"run"));
  EXPECT_TRUE(Offers(u"dries", u"dry"));
  EXPECT_TRUE(Offers(u"chatted", u"chat"));                 // in no exception list
  EXPECT_EQ(EnglishBaseForms(u"rating").front(), u"rate");  // before "rat"
  EXPECT_EQ(EnglishBaseForms(u"taller").front(), u"tall");
}

// Forms only WordNet's exception lists know, which the detachment rules cannot find.
TEST(EnglishBaseFormsTest, WordNetExceptions) {
  EXPECT_EQ(EnglishBaseForms(u"mice").front(), u"mouse");
  EXPECT_EQ(EnglishBaseForms(u"bigger").front(), u"big");
  EXPECT_EQ(EnglishBaseForms(u"studied").front(), u"study");
  EXPECT_EQ(EnglishBaseForms(u"swum").front(), u"swim");
  EXPECT_EQ(EnglishBaseForms(u"criteria").front(), u"criterion");
  EXPECT_TRUE(Offers(u"better", u"good"));
  EXPECT_TRUE(Offers(u"lice", u"louse"));
}

TEST(EnglishBaseFormsTest, WordsLeftAlone) {
  EXPECT_FALSE(Offers(u"thing", u"the"));
  EXPECT_FALSE(Offers(u"class", u"clas"));
  EXPECT_TRUE(EnglishBaseForms(u"bed").empty());
  EXPECT_FALSE(Offers(u"is", u"i"));  // two or three letters are no plural of a shorter word
  EXPECT_FALSE(Offers(u"us", u"u"));
  EXPECT_FALSE(Offers(u"yes", u"ye"));
  EXPECT_TRUE(Offers(u"cats", u"cat"));
  EXPECT_TRUE(EnglishBaseForms(u"café").empty());
  EXPECT_TRUE(EnglishBaseForms(u"Apples").empty());  // callers pass the normalised word
  EXPECT_TRUE(EnglishBaseForms(u"").empty());
}

}  // namespace
}  // namespace tamrel
