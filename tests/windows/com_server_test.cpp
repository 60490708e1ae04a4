// The component as a COM client meets it: registration, class factories, unloading, interface
// identity and late binding, with the DLL loaded into this process.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "Quillmark.h"
#include "com_test_support.h"
#include "engine.h"

namespace quillmark::testing {
namespace {

using windows::UniqueVariant;

// Every key and value below the given HKEY_CLASSES_ROOT paths, flattened to "path|name" ->
// "type:data"; an absent key contributes nothing.
using RegistrySnapshot = std::map<std::wstring, std::wstring>;

void Collect(HKEY parent, const std::wstring& path, RegistrySnapshot& snapshot, REGSAM view = 0) {
    UniqueRegKey key;
    if (RegOpenKeyExW(parent, path.c_str(), 0, KEY_READ | view, key.Receive()) != ERROR_SUCCESS)
        return;
    snapshot[(view ? L"32-bit view|" : L"") + path + L"\\"] = L"key";
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD nameLength = 256, type = 0, size = 0;
        BYTE data[2048];
        size = sizeof data;
        if (RegEnumValueW(key.Get(), index, name, &nameLength, nullptr, &type, data, &size) !=
            ERROR_SUCCESS)
            break;
        snapshot[(view ? L"32-bit view|" : L"") + path + L"|" + name] =
            std::to_wstring(type) + L":" +
            std::wstring(reinterpret_cast<wchar_t*>(data), size / sizeof(wchar_t));
    }
    std::vector<std::wstring> children;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD nameLength = 256;
        if (RegEnumKeyExW(key.Get(), index, name, &nameLength, nullptr, nullptr, nullptr,
                          nullptr) != ERROR_SUCCESS)
            break;
        children.emplace_back(name);
    }
    for (const auto& child : children) Collect(parent, path + L"\\" + child, snapshot, view);
}

RegistrySnapshot SnapshotOfRegistration() {
    RegistrySnapshot snapshot;
    for (const std::wstring& path :
         {L"CLSID\\" + GuidText(CLSID_CQuillmark), L"CLSID\\" + GuidText(CLSID_CTimeZone),
          std::wstring(L"Quillmark.CQuillmark"), std::wstring(L"Quillmark.CTimeZone"),
          L"TypeLib\\" + GuidText(LIBID_Quillmark)})
        Collect(HKEY_CLASSES_ROOT, path, snapshot);
    // Interface keys are kept per registry view; registration writes the 32-bit view's too.
    for (const GUID* iid : {&IID__CQuillmark, &IID__CTimeZone, &IID_CQuillmark___v0})
        for (REGSAM view : {0, KEY_WOW64_32KEY})
            Collect(HKEY_CLASSES_ROOT, L"Interface\\" + GuidText(*iid), snapshot, view);
    return snapshot;
}

std::wstring DefaultValue(const std::wstring& path, const wchar_t* name = nullptr) {
    wchar_t data[1024] = {};
    DWORD size = sizeof data;
    if (RegGetValueW(HKEY_CLASSES_ROOT, path.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &size) !=
        ERROR_SUCCESS)
        return L"<absent>";
    return data;
}

class ComServerTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(server_.Loaded()); }

    template <class Interface>
    ComPtr<Interface> Create(const CLSID& clsid, const IID& iid) {
        ComPtr<IClassFactory> factory;
        EXPECT_EQ(server_.getClassObject(clsid, IID_IClassFactory,
                                         reinterpret_cast<void**>(factory.Receive())),
                  S_OK);
        if (!factory) return {};
        ComPtr<Interface> object;
        EXPECT_EQ(factory->CreateInstance(nullptr, iid, reinterpret_cast<void**>(object.Receive())),
                  S_OK);
        return object;
    }

    Apartment apartment_;
    LoadedServer server_;
};

TEST_F(ComServerTest, RegistrationWritesTheClassesAndLibraryAndUnregistrationRemovesExactlyThat) {
    // Other programs of this build share the prefix and may have registered the DLL already;
    // the registration is left as it was found. The test starts from a registration, so that
    // `before`, what unregistering it leaves, shows what an unregistration leaves behind.
    const bool wasRegistered =
        DefaultValue(L"CLSID\\" + GuidText(CLSID_CQuillmark) + L"\\InprocServer32") != L"<absent>";
    ASSERT_EQ(server_.registerServer(), S_OK);
    ASSERT_EQ(server_.unregisterServer(), S_OK);
    const RegistrySnapshot before = SnapshotOfRegistration();

    ASSERT_EQ(server_.registerServer(), S_OK);
    const RegistrySnapshot registered = SnapshotOfRegistration();
    ASSERT_EQ(server_.registerServer(), S_OK);  // registering again changes nothing
    EXPECT_EQ(SnapshotOfRegistration(), registered);
    // None of what registration writes was left by the first unregistration.
    for (const auto& entry : registered) EXPECT_EQ(before.count(entry.first), 0u) << entry.first;

    const std::wstring path = server_.Path();
    struct Expected {
        std::wstring key;
        const wchar_t* value;
        std::wstring data;
    };
    const std::wstring quillmark = L"CLSID\\" + GuidText(CLSID_CQuillmark);
    const std::wstring timeZone = L"CLSID\\" + GuidText(CLSID_CTimeZone);
    const std::wstring library = L"TypeLib\\" + GuidText(LIBID_Quillmark) + L"\\1.2";
    const std::wstring automationMarshaller = L"{00020424-0000-0000-C000-000000000046}";
    const Expected expected[] = {
        {quillmark + L"\\InprocServer32", nullptr, path},
        {quillmark + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
        {quillmark + L"\\ProgID", nullptr, L"Quillmark.CQuillmark"},
        {L"Quillmark.CQuillmark\\CLSID", nullptr, GuidText(CLSID_CQuillmark)},
        {timeZone + L"\\InprocServer32", nullptr, path},
        {timeZone + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
        {timeZone + L"\\ProgID", nullptr, L"Quillmark.CTimeZone"},
        {L"Quillmark.CTimeZone\\CLSID", nullptr, GuidText(CLSID_CTimeZone)},
        {library + L"\\0\\" + kPlatformKey, nullptr, path},
        {library + L"\\409\\" + kPlatformKey, nullptr, L"<absent>"},  // the file's locale
        {L"Interface\\" + GuidText(IID__CQuillmark) + L"\\ProxyStubClsid32", nullptr,
         automationMarshaller},
        {L"Interface\\" + GuidText(IID__CTimeZone) + L"\\ProxyStubClsid32", nullptr,
         automationMarshaller},
    };
    for (const Expected& entry : expected)
        EXPECT_EQ(DefaultValue(entry.key, entry.value), entry.data) << entry.key;

    // The registration is usable: the classes are found by programmatic identifier.
    for (const wchar_t* progId : {L"Quillmark.CQuillmark", L"Quillmark.CTimeZone"}) {
        CLSID clsid{};
        ASSERT_EQ(CLSIDFromProgID(progId, &clsid), S_OK);
        ComPtr<IDispatch> object;
        EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                   reinterpret_cast<void**>(object.Receive())),
                  S_OK)
            << progId;
    }

    EXPECT_EQ(server_.unregisterServer(), S_OK);
    EXPECT_EQ(SnapshotOfRegistration(), before);
    EXPECT_EQ(server_.unregisterServer(), S_OK);  // nothing left to remove is no failure
    EXPECT_EQ(SnapshotOfRegistration(), before);

    if (wasRegistered) {
        EXPECT_EQ(server_.registerServer(), S_OK);
    }
}

TEST_F(ComServerTest, ClassFactoriesCreateIndependentInstancesOfBothClassesOnly) {
    for (const CLSID* clsid : {&CLSID_CQuillmark, &CLSID_CTimeZone}) {
        ComPtr<IClassFactory> factory;
        ASSERT_EQ(server_.getClassObject(*clsid, IID_IClassFactory,
                                         reinterpret_cast<void**>(factory.Receive())),
                  S_OK);
        ComPtr<IUnknown> first, second, aggregated;
        EXPECT_EQ(factory->CreateInstance(nullptr, IID_IUnknown,
                                          reinterpret_cast<void**>(first.Receive())),
                  S_OK);
        EXPECT_EQ(factory->CreateInstance(nullptr, IID_IUnknown,
                                          reinterpret_cast<void**>(second.Receive())),
                  S_OK);
        EXPECT_NE(first.Get(), second.Get());
        EXPECT_EQ(factory->CreateInstance(first.Get(), IID_IUnknown,
                                          reinterpret_cast<void**>(aggregated.Receive())),
                  CLASS_E_NOAGGREGATION);
    }
    void* factory = reinterpret_cast<void*>(1);
    EXPECT_EQ(server_.getClassObject(IID_IDispatch, IID_IClassFactory, &factory),
              CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(factory, nullptr);
}

TEST_F(ComServerTest, CanUnloadOnlyWhenNoObjectFactoryOrLockIsOutstanding) {
    ASSERT_EQ(server_.canUnloadNow(), S_OK);
    {
        ComPtr<IClassFactory> factory;
        ASSERT_EQ(server_.getClassObject(CLSID_CQuillmark, IID_IClassFactory,
                                         reinterpret_cast<void**>(factory.Receive())),
                  S_OK);
        EXPECT_EQ(server_.canUnloadNow(), S_FALSE);
        ComPtr<IUnknown> object;
        ASSERT_EQ(factory->CreateInstance(nullptr, IID_IUnknown,
                                          reinterpret_cast<void**>(object.Receive())),
                  S_OK);
        EXPECT_EQ(factory->LockServer(TRUE), S_OK);
        factory.Reset();
        EXPECT_EQ(server_.canUnloadNow(), S_FALSE);  // the object and the lock
        ComPtr<IClassFactory> again;
        ASSERT_EQ(server_.getClassObject(CLSID_CQuillmark, IID_IClassFactory,
                                         reinterpret_cast<void**>(again.Receive())),
                  S_OK);
        EXPECT_EQ(again->LockServer(FALSE), S_OK);
        again.Reset();
        EXPECT_EQ(server_.canUnloadNow(), S_FALSE);  // the object alone
    }
    EXPECT_EQ(server_.canUnloadNow(), S_OK);
}

TEST_F(ComServerTest, ModuleObjectAnswersForBothIdentifiersOfItsDefaultInterfaceAndTheHostApi) {
    ComPtr<IUnknown> object = Create<IUnknown>(CLSID_CQuillmark, IID_IUnknown);
    ASSERT_TRUE(object);
    ComPtr<IUnknown> current, earlier, dispatch;
    ASSERT_EQ(object->QueryInterface(IID__CQuillmark, reinterpret_cast<void**>(current.Receive())),
              S_OK);
    ASSERT_EQ(
        object->QueryInterface(IID_CQuillmark___v0, reinterpret_cast<void**>(earlier.Receive())),
        S_OK);
    ASSERT_EQ(object->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(dispatch.Receive())),
              S_OK);
    EXPECT_EQ(earlier.Get(), current.Get());
    EXPECT_EQ(dispatch.Get(), current.Get());

    ComPtr<IModuleAPI> module;
    ASSERT_EQ(object.As(module), S_OK);
    ComPtr<IUnknown> identity;
    ASSERT_EQ(module.As(identity), S_OK);
    EXPECT_EQ(identity.Get(), object.Get());

    ComPtr<IUnknown> timeZone = Create<IUnknown>(CLSID_CTimeZone, IID_IUnknown);
    ComPtr<_CTimeZone> timeZoneDefault;
    EXPECT_EQ(timeZone.As(timeZoneDefault), S_OK);
    ComPtr<IModuleAPI> notThere;
    EXPECT_EQ(timeZone.As(notThere), E_NOINTERFACE);
}

DISPID IdOf(IDispatch* object, const wchar_t* name) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = DISPID_UNKNOWN;
    const HRESULT code = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    return SUCCEEDED(code) ? id : DISPID_UNKNOWN;
}

TEST_F(ComServerTest, LateBoundNamesResolveToTheFixedDispatchIdentifiers) {
    ComPtr<IDispatch> module = Create<IDispatch>(CLSID_CQuillmark, IID_IDispatch);
    ComPtr<IDispatch> timeZone = Create<IDispatch>(CLSID_CTimeZone, IID_IDispatch);
    ASSERT_TRUE(module && timeZone);
    EXPECT_EQ(IdOf(module.Get(), L"GetLoginName"), 0x60030009);
    EXPECT_EQ(IdOf(module.Get(), L"getloginname"), 0x60030009);  // names ignore case
    EXPECT_EQ(IdOf(timeZone.Get(), L"GetCurrentTimeZone"), 0x60030004);
    EXPECT_EQ(IdOf(module.Get(), L"GetCurrentTimeZone"), DISPID_UNKNOWN);
}

// Calls a method by name with the given arguments (last argument first, as DISPPARAMS holds them).
HRESULT CallByName(IDispatch* object, const wchar_t* name, std::vector<VARIANT> arguments,
                   UniqueVariant& result) {
    DISPPARAMS params{arguments.data(), nullptr, static_cast<UINT>(arguments.size()), 0};
    EXCEPINFO exception{};
    UINT argumentError = 0;
    return object->Invoke(IdOf(object, name), IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                          &params, result.Receive(), &exception, &argumentError);
}

std::wstring TextOf(const UniqueVariant& value) {
    return V_VT(&value.Get()) == VT_BSTR ? std::wstring(V_BSTR(&value.Get())) : L"<not text>";
}

VARIANT BooleanArgument(VARIANT_BOOL value) {
    VARIANT argument;
    VariantInit(&argument);
    V_VT(&argument) = VT_BOOL;
    V_BOOL(&argument) = value;
    return argument;
}

// TZ is pinned to America/Los_Angeles for this program.
TEST_F(ComServerTest, CurrentTimeZoneByNameIsFullWithoutArgumentOrFalseAndAbbreviatedWithTrue) {
    ComPtr<IDispatch> timeZone = Create<IDispatch>(CLSID_CTimeZone, IID_IDispatch);
    ASSERT_TRUE(timeZone);
    UniqueVariant omitted, withFalse, withTrue;
    ASSERT_EQ(CallByName(timeZone.Get(), L"GetCurrentTimeZone", {}, omitted), S_OK);
    ASSERT_EQ(CallByName(timeZone.Get(), L"GetCurrentTimeZone", {BooleanArgument(VARIANT_FALSE)},
                         withFalse),
              S_OK);
    ASSERT_EQ(CallByName(timeZone.Get(), L"GetCurrentTimeZone", {BooleanArgument(VARIANT_TRUE)},
                         withTrue),
              S_OK);

    const std::wstring full = TextOf(omitted);
    EXPECT_TRUE(full == L"Pacific Standard Time" || full == L"Pacific Daylight Time") << full;
    EXPECT_EQ(TextOf(withFalse), full);
    EXPECT_EQ(TextOf(withTrue), full == L"Pacific Standard Time" ? L"PST" : L"PDT");

    // A variable passed by reference keeps its value.
    VARIANT_BOOL wanted = VARIANT_TRUE;
    VARIANT byReference;
    VariantInit(&byReference);
    V_VT(&byReference) = VT_BOOL | VT_BYREF;
    V_BOOLREF(&byReference) = &wanted;
    UniqueVariant viaReference;
    ASSERT_EQ(CallByName(timeZone.Get(), L"GetCurrentTimeZone", {byReference}, viaReference), S_OK);
    EXPECT_EQ(TextOf(viaReference), TextOf(withTrue));
    EXPECT_EQ(wanted, VARIANT_TRUE);

    // Early bound, a null pointer stands for the omitted argument: False.
    ComPtr<_CTimeZone> early;
    ASSERT_EQ(timeZone.As(early), S_OK);
    UniqueBstr direct;
    ASSERT_EQ(early->GetCurrentTimeZone(nullptr, direct.Receive()), S_OK);
    EXPECT_EQ(std::wstring(direct.Get()), full);
    // Any non-zero VARIANT_BOOL is True, not only VARIANT_TRUE.
    VARIANT_BOOL one = 1;
    ASSERT_EQ(early->GetCurrentTimeZone(&one, direct.Receive()), S_OK);
    EXPECT_EQ(std::wstring(direct.Get()), TextOf(withTrue));
}

TEST_F(ComServerTest, ModuleApiGivesIdentityAndVersionFromTheVersionResource) {
    ComPtr<IModuleAPI> module = Create<IModuleAPI>(CLSID_CQuillmark, IID_IModuleAPI);
    ASSERT_TRUE(module);
    UniqueBstr registryName, friendlyName, version, reply;
    UniqueBstr message = MakeBstr(u"anything");
    ASSERT_EQ(module->get_RegistryName(registryName.Receive()), S_OK);
    ASSERT_EQ(module->get_FriendlyName(friendlyName.Receive()), S_OK);
    ASSERT_EQ(module->get_Version(version.Receive()), S_OK);
    ASSERT_EQ(module->ZMSendMessage(message.Address(), reply.Receive()), S_OK);
    EXPECT_EQ(BstrText(registryName.Get()), u"Quillmark");
    EXPECT_EQ(BstrText(friendlyName.Get()), u"Quillmark");
    EXPECT_EQ(BstrText(version.Get()), u"3.0.112");
    EXPECT_EQ(BstrText(reply.Get()), u"noerror");
}

TEST_F(ComServerTest, ItemEventWithoutAnItemFailsTowardsTheHostWithObjectNotSet) {
    ComPtr<IModuleAPI> module = Create<IModuleAPI>(CLSID_CQuillmark, IID_IModuleAPI);
    ASSERT_TRUE(module);
    IDispatch* noItem = nullptr;
    UniqueBstr entryId, storeId;
    LONG status = -1;

    LONG otherSelector = 3;
    VARIANT_BOOL cancel = VARIANT_TRUE;
    EXPECT_EQ(module->ZMItemEvent(&otherSelector, &noItem, &cancel, entryId.Address(),
                                  storeId.Address(), &status),
              S_OK);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(cancel, VARIANT_TRUE);

    LONG sendSelector = 4;
    SetErrorInfo(0, nullptr);
    EXPECT_EQ(module->ZMItemEvent(&sendSelector, &noItem, &cancel, entryId.Address(),
                                  storeId.Address(), &status),
              static_cast<HRESULT>(0x800A005B));
    EXPECT_EQ(cancel, VARIANT_TRUE);
    ComPtr<ISupportErrorInfo> supports;
    ASSERT_EQ(module.As(supports), S_OK);
    EXPECT_EQ(supports->InterfaceSupportsErrorInfo(IID_IModuleAPI), S_OK);
    ComPtr<IErrorInfo> error;
    ASSERT_EQ(GetErrorInfo(0, error.Receive()), S_OK);
    UniqueBstr description;
    ASSERT_EQ(error->GetDescription(description.Receive()), S_OK);
    EXPECT_EQ(BstrText(description.Get()), u"Object variable or With block variable not set");
}

}  // namespace
}  // namespace quillmark::testing
