// The adapters between the core and outside automation objects: late binding by name, how a
// failed call becomes the core's error, the Outlook item's type name and Submitted test, and how
// an exception becomes an HRESULT with error info.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <new>
#include <stdexcept>
#include <string>

#include "base/error.h"
#include "com/com_error.h"
#include "com/late_bound.h"
#include "com/module_lifetime.h"
#include "com/outlook_item.h"
#include "com_test_support.h"
#include "platform/windows/owners.h"
#include "platform/windows/win_error.h"

namespace quillmark::testing {
namespace {

using com::ComPtr;
using com::LateBound;
using windows::BstrText;
using windows::MakeBstr;
using windows::UniqueBstr;
using windows::UniqueVariant;

// An automation object with named members whose behaviour each test sets. It lives on the stack;
// references are counted but never free it.
class FakeObject : public IDispatch {
  public:
    // What Invoke does for a member: fills the result or returns a failure.
    using Member = std::function<HRESULT(WORD flags, DISPPARAMS*, VARIANT*, EXCEPINFO*)>;

    void Define(const std::wstring& name, Member member) {
        const DISPID id = static_cast<DISPID>(members_.size() + 1);
        ids_[name] = id;
        members_[id] = std::move(member);
    }
    // Answers a property read with a copy of value.
    void DefineValue(const std::wstring& name, const VARIANT& value) {
        Define(name, [value](WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*) mutable {
            return VariantCopy(result, const_cast<VARIANT*>(&value));
        });
    }

    ComPtr<ITypeInfo> typeInfo;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** result) override {
        if (iid != IID_IUnknown && iid != IID_IDispatch) {
            *result = nullptr;
            return E_NOINTERFACE;
        }
        *result = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override { return --references_; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = typeInfo ? 1 : 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** result) override {
        *result = ComPtr<ITypeInfo>(typeInfo).Detach();
        return typeInfo ? S_OK : E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID,
                                            DISPID* ids) override {
        const auto found = ids_.find(names[0]);
        if (found == ids_.end()) return DISP_E_UNKNOWNNAME;
        ids[0] = found->second;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT*) override {
        return members_.at(id)(flags, params, result, exception);
    }

  private:
    std::map<std::wstring, DISPID> ids_;
    std::map<DISPID, Member> members_;
    ULONG references_ = 1;
};

VARIANT MakeVariant(VARTYPE type, LONG number = 0) {
    VARIANT value;
    VariantInit(&value);
    V_VT(&value) = type;
    if (type == VT_BOOL) V_BOOL(&value) = static_cast<VARIANT_BOOL>(number);
    if (type == VT_I4) V_I4(&value) = number;
    if (type == VT_I2) V_I2(&value) = static_cast<SHORT>(number);
    if (type == VT_R8) V_R8(&value) = number;
    return value;
}

void SetThreadErrorInfo(const wchar_t* description) {
    ComPtr<ICreateErrorInfo> created;
    ASSERT_EQ(CreateErrorInfo(created.Receive()), S_OK);
    created->SetDescription(const_cast<LPOLESTR>(description));
    ComPtr<IErrorInfo> info;
    ASSERT_EQ(created.As(info), S_OK);
    SetErrorInfo(0, info.Get());
}

// Runs call and gives the error it threw.
template <class Call>
Error ErrorOf(Call&& call) {
    try {
        call();
    } catch (const Error& error) {
        return error;
    }
    ADD_FAILURE() << "no error thrown";
    return Error(u"");
}

class ComAdaptersTest : public ::testing::Test {
  protected:
    Apartment apartment_;
    FakeObject object_;
};

TEST_F(ComAdaptersTest, FailedCallsBecomeErrorsWithTheCalleesDescriptionAndCode) {
    constexpr HRESULT kInjected = static_cast<HRESULT>(0x80040155);
    object_.Define(L"Raises", [](WORD, DISPPARAMS*, VARIANT*, EXCEPINFO* exception) {
        exception->bstrDescription = SysAllocString(L"Injected failure: safeitem.Save");
        exception->scode = kInjected;
        return DISP_E_EXCEPTION;
    });
    object_.Define(L"SetsErrorInfo", [](WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*) {
        SetThreadErrorInfo(L"Described by the callee");
        return E_ACCESSDENIED;
    });
    object_.Define(L"FailsPlainly",
                   [](WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*) { return E_ACCESSDENIED; });
    LateBound bound{ComPtr<IDispatch>(&object_)};

    const Error raised = ErrorOf([&] { bound.Call(L"Raises"); });
    EXPECT_EQ(raised.description(), u"Injected failure: safeitem.Save");
    EXPECT_EQ(raised.code(), kInjected);

    const Error described = ErrorOf([&] { bound.Call(L"SetsErrorInfo"); });
    EXPECT_EQ(described.description(), u"Described by the callee");
    EXPECT_EQ(described.code(), E_ACCESSDENIED);

    // Error info left over from an earlier failure does not describe a later one.
    SetThreadErrorInfo(L"Stale");
    const Error plain = ErrorOf([&] { bound.Call(L"FailsPlainly"); });
    EXPECT_EQ(plain.description(), windows::SystemMessage(E_ACCESSDENIED));
    EXPECT_EQ(plain.code(), E_ACCESSDENIED);

    const Error unknown = ErrorOf([&] { bound.Call(L"NoSuchMember"); });
    EXPECT_EQ(unknown.description(), u"Object doesn't support this property or method");
    EXPECT_EQ(unknown.code(), static_cast<HRESULT>(0x800A01B6));

    LateBound nothing{ComPtr<IDispatch>()};
    EXPECT_EQ(ErrorOf([&] { nothing.Call(L"Save"); }).code(), Error::kObjectNotSet);
}

TEST_F(ComAdaptersTest, TextPropertiesAreReadAndAssignedByName) {
    std::wstring assigned;
    WORD assignFlags = 0;
    DISPID namedArgument = 0;
    object_.Define(L"Subject", [&](WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*) {
        if (flags & DISPATCH_PROPERTYPUT) {
            assignFlags = flags;
            namedArgument = params->cNamedArgs == 1 ? params->rgdispidNamedArgs[0] : 0;
            assigned = V_BSTR(&params->rgvarg[0]);
            return S_OK;
        }
        V_VT(result) = VT_BSTR;
        V_BSTR(result) = SysAllocString(L"Re: plan");
        return S_OK;
    });
    object_.DefineValue(L"Count", MakeVariant(VT_I4, 42));
    LateBound bound{ComPtr<IDispatch>(&object_)};

    EXPECT_EQ(bound.GetText(L"Subject").View(), u"Re: plan");
    EXPECT_EQ(bound.GetText(L"Count").View(), u"42");  // converted as automation converts
    bound.PutText(L"Subject", {u"Re: plan", u"", u" [stamped]"});
    EXPECT_EQ(assigned, L"Re: plan [stamped]");
    EXPECT_EQ(assignFlags, DISPATCH_PROPERTYPUT);
    EXPECT_EQ(namedArgument, DISPID_PROPERTYPUT);
}

TEST_F(ComAdaptersTest, SubmittedEqualsTrueByAutomationEquality) {
    struct Case {
        const char* name;
        VARIANT value;
        bool equalsTrue;
    };
    const Case cases[] = {
        {"True", MakeVariant(VT_BOOL, VARIANT_TRUE), true},
        {"False", MakeVariant(VT_BOOL, VARIANT_FALSE), false},
        {"integer -1", MakeVariant(VT_I4, -1), true},
        {"short 1", MakeVariant(VT_I2, 1), false},
        {"double -1", MakeVariant(VT_R8, -1), true},
        {"Null", MakeVariant(VT_NULL), false},
        {"Empty", MakeVariant(VT_EMPTY), false},
    };
    for (const Case& test : cases) {
        FakeObject item;
        item.DefineValue(L"Submitted", test.value);
        com::ComOutlookItem outlookItem(&item);
        EXPECT_EQ(outlookItem.SubmittedEqualsTrue(), test.equalsTrue) << test.name;
    }

    FakeObject withoutSubmitted;
    com::ComOutlookItem noProperty(&withoutSubmitted);
    EXPECT_EQ(ErrorOf([&] { noProperty.SubmittedEqualsTrue(); }).code(),
              static_cast<HRESULT>(0x800A01B6));
    com::ComOutlookItem noItem(nullptr);
    EXPECT_EQ(ErrorOf([&] { noItem.SubmittedEqualsTrue(); }).code(), Error::kObjectNotSet);
}

TEST_F(ComAdaptersTest, TypeNameIsTheTypeInformationsNameWithoutOneLeadingUnderscore) {
    ComPtr<ITypeLib> library;
    ASSERT_EQ(LoadTypeLibEx(QuillmarkPath(), REGKIND_NONE, library.Receive()), S_OK);
    struct Case {
        UINT index;
        std::u16string typeName;
    };
    for (const Case& test : {Case{0, u"CQuillmark"}, Case{1, u"CQuillmark"}}) {
        FakeObject item;
        ASSERT_EQ(library->GetTypeInfo(test.index, item.typeInfo.Receive()), S_OK);
        EXPECT_EQ(com::ComOutlookItem(&item).TypeName(), test.typeName) << test.index;
    }
    FakeObject withoutTypeInfo;
    EXPECT_EQ(com::ComOutlookItem(&withoutTypeInfo).TypeName(), u"Object");
    EXPECT_EQ(com::ComOutlookItem(nullptr).TypeName(), u"Nothing");
}

TEST_F(ComAdaptersTest, ExceptionsBecomeHresultsWithTheirDescriptionAsErrorInfo) {
    struct Case {
        const char* name;
        std::function<void()> body;
        HRESULT code;
        std::u16string description;
    };
    const Case cases[] = {
        {"core error with code", [] { throw Error(u"Object required", 0x800A01A8); },
         static_cast<HRESULT>(0x800A01A8), u"Object required"},
        {"core error without a failure code", [] { throw Error(u"Odd", 0); }, E_FAIL, u"Odd"},
        {"standard exception", [] { throw std::runtime_error("broken"); }, E_FAIL, u"broken"},
        {"out of memory", [] { throw std::bad_alloc(); }, E_OUTOFMEMORY, u"Out of memory"},
    };
    for (const Case& test : cases) {
        SetErrorInfo(0, nullptr);
        EXPECT_EQ(com::Guarded(test.body), test.code) << test.name;
        ComPtr<IErrorInfo> info;
        ASSERT_EQ(GetErrorInfo(0, info.Receive()), S_OK) << test.name;
        UniqueBstr description;
        info->GetDescription(description.Receive());
        EXPECT_EQ(BstrText(description.Get()), test.description) << test.name;
    }
    EXPECT_EQ(com::Guarded([] {}), S_OK);
}

}  // namespace
}  // namespace quillmark::testing
