#include <gtest/gtest.h>

#include "core/cp932.h"
#include "platform/message_box.h"

namespace kest::platform {
namespace {

TEST(MessageBox, ButtonSetsGiveTheirDefaultAndDismissAnswers) {
  struct Case {
    MessageButtons buttons;
    MessageAnswer enter;
    MessageAnswer dismiss;
    std::vector<MessageAnswer> offered;
  };
  const Case cases[] = {
      {MessageButtons::kOk, MessageAnswer::kOk, MessageAnswer::kOk, {MessageAnswer::kOk}},
      {MessageButtons::kOkCancel, MessageAnswer::kOk, MessageAnswer::kCancel,
       {MessageAnswer::kOk, MessageAnswer::kCancel}},
      {MessageButtons::kYesNo, MessageAnswer::kYes, MessageAnswer::kNo, {MessageAnswer::kYes, MessageAnswer::kNo}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.buttons));
    EXPECT_EQ(DefaultAnswer(c.buttons), c.enter);
    EXPECT_EQ(DismissAnswer(c.buttons), c.dismiss);
    for (MessageAnswer answer : {MessageAnswer::kOk, MessageAnswer::kCancel, MessageAnswer::kYes, MessageAnswer::kNo}) {
      const bool expected = std::find(c.offered.begin(), c.offered.end(), answer) != c.offered.end();
      EXPECT_EQ(Offers(c.buttons, answer), expected) << AnswerName(answer);
    }
  }
}

TEST(MessageBox, AnswerNamesRoundTrip) {
  for (MessageAnswer answer : {MessageAnswer::kOk, MessageAnswer::kCancel, MessageAnswer::kYes, MessageAnswer::kNo}) {
    EXPECT_EQ(AnswerFromName(AnswerName(answer)), answer);
  }
  EXPECT_EQ(AnswerName(MessageAnswer::kCancel), "cancel");
  EXPECT_EQ(AnswerFromName("OK"), std::nullopt);
  EXPECT_EQ(AnswerFromName(""), std::nullopt);
}

TEST(MessageBox, DescriptionIsOneUtf8Line) {
  const MessageBoxRequest request{cp932::FromUtf8("警告"), cp932::FromUtf8("一行目\r\n二行目"),
                                  MessageButtons::kYesNo, MessageIcon::kWarning};
  EXPECT_EQ(DescribeMessageBox(request, MessageAnswer::kNo, "scripted"),
            "message box [warning] \"警告\": 一行目\\r\\n二行目 [yes/no] -> no (scripted)");
}

}  // namespace
}  // namespace kest::platform
