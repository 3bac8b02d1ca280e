#include <gtest/gtest.h>

#include <array>

#include "TestDispatch.h"
#include "cad/ComAutomation.h"
#include "cad/ComVariant.h"
#include "cad/TargetCad.h"

namespace {

class ComDispatchTest : public testing::Test {
 protected:
  void TearDown() override {
    FServer.ForgetCalls();
    EXPECT_EQ(FServer.RefCount(), 1u) << "the client gave back every reference";
  }

  DispatchPtr Client() { return std::make_shared<ComDispatchObject>(ComPtr<IDispatch>::Share(&FServer)); }

  AutomationError ErrorOf(std::wstring_view member) {
    try {
      CallMethod(*Client(), member);
    } catch (const AutomationError& error) {
      return error;
    }
    ADD_FAILURE() << "the call of " << testing::PrintToString(std::wstring(member)) << " succeeded";
    return AutomationError(hresult::Ok, L"");
  }

  TestDispatch FServer;
};

}  // namespace

TEST_F(ComDispatchTest, CallKindsChooseTheInvokeFlagsInTheUsersLocale) {
  const DispatchPtr client = Client();
  CallMethod(*client, L"Echo");
  GetValue(*client, L"echo");
  ASSERT_EQ(FServer.Calls().size(), 2u);
  EXPECT_EQ(FServer.Calls()[0].flags, DISPATCH_METHOD);
  EXPECT_EQ(FServer.Calls()[1].flags, DISPATCH_METHOD | DISPATCH_PROPERTYGET);
  EXPECT_EQ(FServer.Calls()[0].lookupLocale, LOCALE_USER_DEFAULT);
  EXPECT_EQ(FServer.Calls()[0].invokeLocale, LOCALE_USER_DEFAULT);
}

TEST_F(ComDispatchTest, ArgumentsArriveInTheirNaturalOrder) {
  const std::array<Variant, 3> arguments{Variant(int32_t{1}), Variant(L"二"), Variant(3.0)};
  EXPECT_EQ(CallMethod(*Client(), L"Echo", arguments), Variant(int32_t{1}));
  ASSERT_EQ(FServer.Calls().size(), 1u);
  const auto& received = FServer.Calls()[0].arguments;
  ASSERT_EQ(received.size(), 3u);
  EXPECT_EQ(received[0].type, VT_I4);
  EXPECT_EQ(received[1].type, VT_BSTR);
  EXPECT_EQ(std::wstring(received[1].value.Get().bstrVal), L"二");
  EXPECT_EQ(received[2].type, VT_R8);
}

// Select(5, missing, missing, FilterType, FilterData) as the pager sends it.
TEST_F(ComDispatchTest, SelectionArgumentsReachTheServerInTheirAutomationForm) {
  const std::array<Variant, 5> arguments{Variant(int32_t{5}), Variant::Missing(), Variant::Missing(),
                                         Variant::ByRef(FrameFilterType()), Variant::ByRef(FrameFilterData(L"枠"))};
  CallMethod(*Client(), L"Echo", arguments);
  const auto& received = FServer.Calls().at(0).arguments;
  ASSERT_EQ(received.size(), 5u);
  EXPECT_EQ(received[0].type, VT_I4);
  EXPECT_EQ(received[0].value.Get().lVal, 5);
  for (int missing : {1, 2}) {
    EXPECT_EQ(received[missing].type, VT_ERROR);
    EXPECT_EQ(received[missing].value.Get().scode, DISP_E_PARAMNOTFOUND);
  }
  EXPECT_EQ(received[3].type, VT_BYREF | VT_VARIANT);
  EXPECT_EQ(received[3].value.Get().vt, VT_ARRAY | VT_I2);
  EXPECT_EQ(FromComVariant(received[3].value.Get()), FrameFilterType());
  EXPECT_EQ(received[4].type, VT_BYREF | VT_VARIANT);
  ASSERT_EQ(received[4].value.Get().vt, VT_ARRAY | VT_VARIANT);
  LONG index = 0;
  VARIANT layer;
  VariantInit(&layer);
  ASSERT_EQ(SafeArrayGetElement(received[4].value.Get().parray, &index, &layer), S_OK);
  const ScopedVariant layerOwner = ScopedVariant::Adopt(layer);
  ASSERT_EQ(layerOwner.Get().vt, VT_BSTR);
  EXPECT_EQ(std::wstring(layerOwner.Get().bstrVal), L"枠");
}

TEST_F(ComDispatchTest, ServerExceptionsReachTheCallerWithTheirDescription) {
  const AutomationError described = ErrorOf(L"Fail");
  EXPECT_EQ(described.Code(), kFailCode);
  EXPECT_EQ(described.Text(), kFailDescription);

  const AutomationError deferred = ErrorOf(L"FailDeferred");
  EXPECT_EQ(deferred.Code(), kFailCode);
  EXPECT_EQ(deferred.Text(), kDeferredDescription);
}

TEST_F(ComDispatchTest, PlainFailuresCarryTheSystemText) {
  const AutomationError rejected = ErrorOf(L"Reject");
  EXPECT_EQ(rejected.Code(), hresult::CallRejected);
  EXPECT_FALSE(rejected.Text().empty());
}

TEST_F(ComDispatchTest, UnknownMembersFailWithTheAutomationText) {
  const AutomationError unknown = ErrorOf(L"ZoomExtentsNow");
  EXPECT_EQ(unknown.Code(), hresult::UnknownName);
  EXPECT_EQ(unknown.Text(), L"メソッド 'ZoomExtentsNow' はオートメーション オブジェクトでサポートしていません");
  EXPECT_TRUE(FServer.Calls().empty()) << "nothing is invoked for a name the server does not know";
}

TEST_F(ComDispatchTest, ObjectResultsCanBeCalledAndPassedBack) {
  // GetObject is a macro of the Windows headers, so the result is read as a value.
  const DispatchPtr self = GetValue(*Client(), L"Self").AsObject();
  const std::array<Variant, 1> argument{Variant(self)};
  const Variant echoed = CallMethod(*self, L"Echo", argument);
  const auto* com = dynamic_cast<const ComDispatchObject*>(echoed.AsObject().get());
  ASSERT_NE(com, nullptr);
  EXPECT_EQ(com->Dispatch(), &FServer);
  EXPECT_EQ(FServer.Calls().at(1).arguments.at(0).type, VT_DISPATCH);
}

TEST_F(ComDispatchTest, ByReferenceResultsAreReadThrough) {
  const Variant result = GetValue(*Client(), L"Reference");
  EXPECT_FALSE(result.IsByRef());
  EXPECT_EQ(result, Variant(int32_t{42}));
}
