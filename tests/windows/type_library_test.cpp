// The type library and version resource embedded in the DLL of the build's bitness, read as data.
// The engine library that the type library refers to is registered meanwhile, as the host's
// installation does.

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "Quillmark.h"
#include "com/type_description_owners.h"
#include "com_test_support.h"
#include "engine.h"

namespace quillmark::testing {
namespace {

using com::Borrow;
using com::UniqueFuncDesc;
using com::UniqueLibAttr;
using com::UniqueTypeAttr;

UniqueTypeAttr AttributesOf(ITypeInfo* info) {
    UniqueTypeAttr attributes;
    EXPECT_EQ(Borrow(attributes, info, &ITypeInfo::GetTypeAttr), S_OK);
    return attributes;
}

std::wstring NameOf(ITypeInfo* info, MEMBERID member = MEMBERID_NIL) {
    UniqueBstr name;
    info->GetDocumentation(member, name.Receive(), nullptr, nullptr, nullptr);
    return name.Get() ? name.Get() : L"";
}

// Registers the engine library under locale 0 for both platforms for as long as it lives. Keys
// that were there already are left as they are.
class EngineLibraryRegistration {
  public:
    EngineLibraryRegistration() {
        const std::wstring locale =
            L"TypeLib\\" + GuidText(LIBID_TolvaneInterfaceEngine) + L"\\1.1\\0";
        for (const wchar_t* platform : {L"win32", L"win64"}) Create(locale + L"\\" + platform);
    }
    EngineLibraryRegistration(const EngineLibraryRegistration&) = delete;
    EngineLibraryRegistration& operator=(const EngineLibraryRegistration&) = delete;
    ~EngineLibraryRegistration() {
        for (auto key = created_.rbegin(); key != created_.rend(); ++key)
            RegDeleteKeyW(HKEY_CLASSES_ROOT, key->c_str());
    }

  private:
    // Creates the keys along the path that are missing; a new last one gets the library's path.
    void Create(const std::wstring& path) {
        UniqueRegKey key;
        DWORD disposition = 0;
        for (size_t end = 0; end != std::wstring::npos;) {
            end = path.find(L'\\', end + 1);
            const std::wstring partial = path.substr(0, end);
            ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, partial.c_str(), 0, nullptr, 0, KEY_WRITE,
                                      nullptr, key.Receive(), &disposition),
                      ERROR_SUCCESS);
            if (disposition == REG_CREATED_NEW_KEY) created_.push_back(partial);
        }
        if (disposition != REG_CREATED_NEW_KEY) return;
        const std::wstring library = QUILLMARK_ENGINE_LIBRARY_PATH;
        RegSetValueExW(key.Get(), nullptr, 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(library.c_str()),
                       static_cast<DWORD>((library.size() + 1) * sizeof(wchar_t)));
    }

    std::vector<std::wstring> created_;
};

class TypeLibraryTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { engineLibrary_ = std::make_unique<EngineLibraryRegistration>(); }
    static void TearDownTestSuite() { engineLibrary_.reset(); }

    void SetUp() override {
        ASSERT_EQ(LoadTypeLibEx(QuillmarkPath(), REGKIND_NONE, library_.Receive()), S_OK);
    }

    ComPtr<ITypeInfo> Type(UINT index) {
        ComPtr<ITypeInfo> info;
        EXPECT_EQ(library_->GetTypeInfo(index, info.Receive()), S_OK);
        return info;
    }

    // The vtable half of a dual interface, whose type information the library lists as the
    // dispatch half.
    ComPtr<ITypeInfo> InterfaceHalf(ITypeInfo* dispatch) {
        HREFTYPE reference = 0;
        ComPtr<ITypeInfo> info;
        EXPECT_EQ(dispatch->GetRefTypeOfImplType(-1, &reference), S_OK);
        EXPECT_EQ(dispatch->GetRefTypeInfo(reference, info.Receive()), S_OK);
        return info;
    }

    static inline std::unique_ptr<EngineLibraryRegistration> engineLibrary_;
    Apartment apartment_;
    ComPtr<ITypeLib> library_;
};

TEST_F(TypeLibraryTest, LibraryIsQuillmark12ForItsPlatformWithItsHelpString) {
    UniqueLibAttr attributes;
    ASSERT_EQ(Borrow(attributes, library_.Get(), &ITypeLib::GetLibAttr), S_OK);
    EXPECT_EQ(attributes.Get()->guid, LIBID_Quillmark);
    EXPECT_EQ(attributes.Get()->wMajorVerNum, 1);
    EXPECT_EQ(attributes.Get()->wMinorVerNum, 2);
    EXPECT_EQ(attributes.Get()->lcid, 0x0409u);  // registration stays locale-neutral all the same
    EXPECT_EQ(attributes.Get()->syskind, kSysKind);

    UniqueBstr name, help, helpFile;
    DWORD helpContext = 1;
    ASSERT_EQ(library_->GetDocumentation(-1, name.Receive(), help.Receive(), &helpContext,
                                         helpFile.Receive()),
              S_OK);
    EXPECT_EQ(BstrText(name.Get()), u"Quillmark");
    EXPECT_EQ(BstrText(help.Get()), u"Tolvane - Quillmark");
    EXPECT_EQ(helpContext, 0u);
    EXPECT_EQ(BstrText(helpFile.Get()), u"");
}

TEST_F(TypeLibraryTest, FiveTypesInOrderWithTheirKindsVersionsAndFlags) {
    constexpr WORD kDeclaredInterfaceFlags = TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL |
                                             TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FOLEAUTOMATION |
                                             TYPEFLAG_FDISPATCHABLE;
    // The runtime reports the dispatch half of a dual interface without the OLE-automation flag.
    constexpr WORD kDefaultInterfaceFlags = kDeclaredInterfaceFlags & ~TYPEFLAG_FOLEAUTOMATION;
    struct Expected {
        const wchar_t* name;
        TYPEKIND kind;
        const GUID* guid;
        WORD major, minor, flags;
    };
    const Expected expected[] = {
        {L"_CQuillmark", TKIND_DISPATCH, &IID__CQuillmark, 1, 1, kDefaultInterfaceFlags},
        {L"CQuillmark", TKIND_COCLASS, &CLSID_CQuillmark, 1, 1, TYPEFLAG_FCANCREATE},
        {L"CQuillmark___v0", TKIND_ALIAS, &IID_CQuillmark___v0, 1, 0, TYPEFLAG_FHIDDEN},
        {L"_CTimeZone", TKIND_DISPATCH, &IID__CTimeZone, 1, 0, kDefaultInterfaceFlags},
        {L"CTimeZone", TKIND_COCLASS, &CLSID_CTimeZone, 1, 0, TYPEFLAG_FCANCREATE},
    };
    ASSERT_EQ(library_->GetTypeInfoCount(), std::size(expected));
    for (UINT index = 0; index < std::size(expected); ++index) {
        const Expected& type = expected[index];
        ComPtr<ITypeInfo> info = Type(index);
        ASSERT_TRUE(info);
        const UniqueTypeAttr attributes = AttributesOf(info.Get());
        EXPECT_EQ(NameOf(info.Get()), type.name);
        EXPECT_EQ(attributes.Get()->typekind, type.kind) << index;
        EXPECT_EQ(attributes.Get()->guid, *type.guid) << index;
        EXPECT_EQ(attributes.Get()->wMajorVerNum, type.major) << index;
        EXPECT_EQ(attributes.Get()->wMinorVerNum, type.minor) << index;
        EXPECT_EQ(attributes.Get()->wTypeFlags, type.flags) << index;
    }

    // A dual interface is listed by its dispatch half; the declared flags are on the vtable half.
    for (UINT index : {0u, 3u}) {
        ComPtr<ITypeInfo> vtable = InterfaceHalf(Type(index).Get());
        ASSERT_TRUE(vtable);
        const UniqueTypeAttr attributes = AttributesOf(vtable.Get());
        EXPECT_EQ(attributes.Get()->typekind, TKIND_INTERFACE);
        EXPECT_EQ(attributes.Get()->wTypeFlags, kDeclaredInterfaceFlags) << index;
    }

    // The alias stands for the module class's default interface.
    ComPtr<ITypeInfo> alias = Type(2);
    const UniqueTypeAttr aliasAttributes = AttributesOf(alias.Get());
    ASSERT_EQ(aliasAttributes.Get()->tdescAlias.vt, VT_USERDEFINED);
    ComPtr<ITypeInfo> target;
    ASSERT_EQ(alias->GetRefTypeInfo(aliasAttributes.Get()->tdescAlias.hreftype, target.Receive()),
              S_OK);
    EXPECT_EQ(NameOf(target.Get()), L"_CQuillmark");
}

// The module class's IModuleAPI stays in the engine library: the library refers to it.
TEST_F(TypeLibraryTest, ClassesListTheirInterfacesWithIModuleApiInTheEngineLibrary) {
    struct Implemented {
        UINT classIndex, slot;
        const GUID* iid;
        const wchar_t* name;
        INT flags;
        const wchar_t* library;
        WORD major, minor;
    };
    const Implemented implemented[] = {
        {1, 0, &IID__CQuillmark, L"_CQuillmark", IMPLTYPEFLAG_FDEFAULT, L"Quillmark", 1, 2},
        {1, 1, &IID_IModuleAPI, L"IModuleAPI", 0, L"TolvaneInterfaceEngine", 1, 1},
        {4, 0, &IID__CTimeZone, L"_CTimeZone", IMPLTYPEFLAG_FDEFAULT, L"Quillmark", 1, 2},
    };
    EXPECT_EQ(AttributesOf(Type(1).Get()).Get()->cImplTypes, 2);
    EXPECT_EQ(AttributesOf(Type(4).Get()).Get()->cImplTypes, 1);
    for (const Implemented& entry : implemented) {
        ComPtr<ITypeInfo> coclass = Type(entry.classIndex);
        HREFTYPE reference = 0;
        INT flags = -1;
        ComPtr<ITypeInfo> info;
        ASSERT_EQ(coclass->GetRefTypeOfImplType(entry.slot, &reference), S_OK);
        ASSERT_EQ(coclass->GetImplTypeFlags(entry.slot, &flags), S_OK);
        ASSERT_EQ(coclass->GetRefTypeInfo(reference, info.Receive()), S_OK) << entry.name;
        EXPECT_EQ(NameOf(info.Get()), entry.name);
        EXPECT_EQ(AttributesOf(info.Get()).Get()->guid, *entry.iid);
        EXPECT_EQ(flags, entry.flags) << entry.name;

        ComPtr<ITypeLib> container;
        UINT index = 0;
        ASSERT_EQ(info->GetContainingTypeLib(container.Receive(), &index), S_OK);
        UniqueBstr libraryName;
        container->GetDocumentation(-1, libraryName.Receive(), nullptr, nullptr, nullptr);
        EXPECT_EQ(BstrText<wchar_t>(libraryName.Get()), entry.library) << entry.name;
        UniqueLibAttr attributes;
        ASSERT_EQ(Borrow(attributes, container.Get(), &ITypeLib::GetLibAttr), S_OK);
        EXPECT_EQ(attributes.Get()->wMajorVerNum, entry.major) << entry.name;
        EXPECT_EQ(attributes.Get()->wMinorVerNum, entry.minor) << entry.name;
    }
}

TEST_F(TypeLibraryTest, MethodsHaveTheirDispatchIdentifiersAndParameters) {
    // Each interface has one method, whose last parameter is its [out, retval] BSTR*:
    // _CQuillmark's GetLoginName([out, retval] BSTR*) and _CTimeZone's GetCurrentTimeZone([in,
    // out, optional, defaultvalue(False)] VARIANT_BOOL*, [out, retval] BSTR*).
    struct Method {
        UINT type;
        MEMBERID id;
        const wchar_t* name;
        SHORT parameters;
    };
    const Method methods[] = {{0, 0x60030009, L"GetLoginName", 1},
                              {3, 0x60030004, L"GetCurrentTimeZone", 2}};
    for (const Method& method : methods) {
        ComPtr<ITypeInfo> vtable = InterfaceHalf(Type(method.type).Get());
        ASSERT_TRUE(vtable);
        ASSERT_EQ(AttributesOf(vtable.Get()).Get()->cFuncs, 1);
        UniqueFuncDesc lent;
        ASSERT_EQ(Borrow(lent, vtable.Get(), &ITypeInfo::GetFuncDesc, 0u), S_OK);
        const FUNCDESC& function = *lent.Get();
        EXPECT_EQ(function.memid, method.id);
        EXPECT_EQ(NameOf(vtable.Get(), function.memid), method.name);
        EXPECT_EQ(function.invkind, INVOKE_FUNC);
        EXPECT_EQ(function.callconv, CC_STDCALL);
        EXPECT_EQ(function.elemdescFunc.tdesc.vt, VT_HRESULT);
        ASSERT_EQ(function.cParams, method.parameters);
        const ELEMDESC& result = function.lprgelemdescParam[method.parameters - 1];
        EXPECT_EQ(result.tdesc.vt, VT_PTR);
        EXPECT_EQ(result.tdesc.lptdesc->vt, VT_BSTR);
        EXPECT_EQ(result.paramdesc.wParamFlags, PARAMFLAG_FOUT | PARAMFLAG_FRETVAL);
    }

    // GetCurrentTimeZone's argument: optional, False when omitted, named for late-bound callers.
    ComPtr<ITypeInfo> zone = InterfaceHalf(Type(3).Get());
    UniqueFuncDesc lent;
    ASSERT_EQ(Borrow(lent, zone.Get(), &ITypeInfo::GetFuncDesc, 0u), S_OK);
    const FUNCDESC& function = *lent.Get();
    const ELEMDESC& wanted = function.lprgelemdescParam[0];
    EXPECT_EQ(wanted.tdesc.vt, VT_PTR);
    EXPECT_EQ(wanted.tdesc.lptdesc->vt, VT_BOOL);
    EXPECT_EQ(wanted.paramdesc.wParamFlags,
              PARAMFLAG_FIN | PARAMFLAG_FOUT | PARAMFLAG_FOPT | PARAMFLAG_FHASDEFAULT);
    ASSERT_NE(wanted.paramdesc.pparamdescex, nullptr);
    VARIANT falseValue;
    VariantInit(&falseValue);
    V_VT(&falseValue) = VT_BOOL;
    V_BOOL(&falseValue) = VARIANT_FALSE;
    EXPECT_EQ(VarCmp(&wanted.paramdesc.pparamdescex->varDefaultValue, &falseValue,
                     LOCALE_USER_DEFAULT, 0),
              VARCMP_EQ);

    UniqueBstr names[3];
    UINT count = 0;
    BSTR raw[3] = {};
    ASSERT_EQ(zone->GetNames(function.memid, raw, 3, &count), S_OK);
    for (UINT i = 0; i < count; ++i) *names[i].Receive() = raw[i];
    ASSERT_GE(count, 2u);
    EXPECT_EQ(BstrText(names[1].Get()), u"abbreviationsWanted");
}

// The library inside the DLL was written for US English, though it registers locale-neutral.
TEST_F(TypeLibraryTest, EmbeddedLibraryIsWrittenWithLocale0409) {
    HMODULE image = LoadLibraryExW(QuillmarkPath(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(image, nullptr);
    HRSRC resource = FindResourceW(image, MAKEINTRESOURCEW(1), L"TYPELIB");
    ASSERT_NE(resource, nullptr);
    const auto* bytes =
        static_cast<const unsigned char*>(LockResource(LoadResource(image, resource)));
    ASSERT_NE(bytes, nullptr);
    const std::string magic(reinterpret_cast<const char*>(bytes), 4);
    EXPECT_EQ(magic, "MSFT");
    DWORD locale = 0;
    memcpy(&locale, bytes + 12, sizeof locale);
    EXPECT_EQ(locale, 0x0409u);
    FreeLibrary(image);
}

std::wstring VersionString(const std::vector<BYTE>& data, const wchar_t* name) {
    wchar_t* value = nullptr;
    UINT length = 0;
    const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueW(data.data(), path.c_str(), reinterpret_cast<void**>(&value), &length))
        return L"<absent>";
    return length ? std::wstring(value, wcsnlen(value, length)) : std::wstring();
}

TEST_F(TypeLibraryTest, VersionResourceHolds3_0_0_112AndTheSelfRegisterMark) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(QuillmarkPath(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> data(size);
    ASSERT_TRUE(GetFileVersionInfoW(QuillmarkPath(), 0, size, data.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 3));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(112, 0));
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(0, 3));
    EXPECT_EQ(fixed->dwProductVersionLS, MAKELONG(112, 0));

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_EQ(length, 2 * sizeof(WORD));
    EXPECT_EQ(translation[0], 0x0409);
    EXPECT_EQ(translation[1], 1200);

    const std::pair<const wchar_t*, const wchar_t*> strings[] = {
        {L"FileVersion", L"3.00.0112"},
        {L"ProductVersion", L"3.00.0112"},
        {L"ProductName", L"Quillmark"},
        {L"InternalName", L"Quillmark"},
        {L"OriginalFilename", L"Quillmark.dll"},
        {L"CompanyName", L"Tolvane"},
        {L"OLESelfRegister", L""},
    };
    for (const auto& [name, value] : strings) EXPECT_EQ(VersionString(data, name), value) << name;
}

}  // namespace
}  // namespace quillmark::testing
