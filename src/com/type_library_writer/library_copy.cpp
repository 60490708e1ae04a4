#include "library_copy.h"

#include <oleauto.h>

#include "check.h"
#include "platform/windows/owners.h"
#include "type_copy.h"

namespace quillmark::type_library_writer {

namespace {

using com::ComPtr;
using windows::UniqueBstr;

// TLIBATTR of a library, copied out.
TLIBATTR AttributesOf(ITypeLib* library) {
    TLIBATTR* attributes = nullptr;
    Check(library->GetLibAttr(&attributes), "GetLibAttr");
    const TLIBATTR copy = *attributes;
    library->ReleaseTLibAttr(attributes);
    return copy;
}

GUID GuidOf(ITypeInfo* info) {
    TYPEATTR* attributes = nullptr;
    Check(info->GetTypeAttr(&attributes), "GetTypeAttr");
    const GUID guid = attributes->guid;
    info->ReleaseTypeAttr(attributes);
    return guid;
}

bool SameObject(IUnknown* left, IUnknown* right) {
    ComPtr<IUnknown> leftIdentity, rightIdentity;
    left->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(leftIdentity.Receive()));
    right->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(rightIdentity.Receive()));
    return leftIdentity.Get() == rightIdentity.Get();
}

class LibraryWriter : public ReferenceTargets {
  public:
    LibraryWriter(ITypeLib* source, const std::vector<ComPtr<ITypeLib>>& imported)
        : source_(source), imported_(imported) {}

    void Write(const wchar_t* outputPath) {
        const TLIBATTR attributes = AttributesOf(source_);
        Check(CreateTypeLib2(attributes.syskind, outputPath, target_.Receive()), "CreateTypeLib2");
        CopyLibraryAttributes(attributes);

        // Every type exists before any is filled in, so that references may point forwards.
        const UINT count = source_->GetTypeInfoCount();
        for (UINT index = 0; index < count; ++index) {
            ComPtr<ITypeInfo> source;
            Check(source_->GetTypeInfo(index, source.Receive()), "GetTypeInfo");
            sources_.push_back(source);
            written_.push_back(ImportedTypeOf(source.Get()) ? ComPtr<ICreateTypeInfo>()
                                                            : Create(source.Get()));
        }
        for (UINT index = 0; index < count; ++index)
            if (written_[index]) CopyType(sources_[index].Get(), written_[index].Get(), *this);
        for (const ComPtr<ICreateTypeInfo>& type : written_)
            if (type) Check(type->LayOut(), "LayOut");
        Check(target_->SaveAllChanges(), "SaveAllChanges");
    }

    ComPtr<ITypeInfo> TargetOf(ITypeInfo* referenced) const override {
        ComPtr<ITypeLib> container;
        UINT index = 0;
        Check(referenced->GetContainingTypeLib(container.Receive(), &index),
              "GetContainingTypeLib");
        if (!SameObject(container.Get(), source_)) return ComPtr<ITypeInfo>(referenced);
        if (ComPtr<ITypeInfo> imported = ImportedTypeOf(referenced)) return imported;
        ComPtr<ITypeInfo> written;
        Check(written_.at(index).As(written), "QueryInterface(ITypeInfo)");
        return written;
    }

  private:
    void CopyLibraryAttributes(const TLIBATTR& attributes) {
        Check(target_->SetGuid(attributes.guid), "SetGuid");
        Check(target_->SetLcid(attributes.lcid), "SetLcid");
        Check(target_->SetVersion(attributes.wMajorVerNum, attributes.wMinorVerNum), "SetVersion");
        Check(target_->SetLibFlags(attributes.wLibFlags), "SetLibFlags");
        UniqueBstr name, documentation, helpFile;
        DWORD helpContext = 0;
        Check(source_->GetDocumentation(-1, name.Receive(), documentation.Receive(), &helpContext,
                                        helpFile.Receive()),
              "GetDocumentation");
        Check(target_->SetName(name.Get()), "SetName");
        if (documentation.Get()) Check(target_->SetDocString(documentation.Get()), "SetDocString");
        if (helpContext) Check(target_->SetHelpContext(helpContext), "SetHelpContext");
        if (helpFile.Get()) Check(target_->SetHelpFileName(helpFile.Get()), "SetHelpFileName");
    }

    ComPtr<ICreateTypeInfo> Create(ITypeInfo* source) {
        UniqueBstr name;
        Check(source->GetDocumentation(MEMBERID_NIL, name.Receive(), nullptr, nullptr, nullptr),
              "GetDocumentation");
        ComPtr<ICreateTypeInfo> created;
        Check(target_->CreateTypeInfo(name.Get(), WrittenKind(source), created.Receive()),
              "CreateTypeInfo");
        return created;
    }

    // The imported libraries' type with the same GUID; empty when there is none.
    ComPtr<ITypeInfo> ImportedTypeOf(ITypeInfo* source) const {
        const GUID guid = GuidOf(source);
        ComPtr<ITypeInfo> found;
        if (guid == GUID_NULL) return {};
        for (const ComPtr<ITypeLib>& library : imported_)
            if (SUCCEEDED(library->GetTypeInfoOfGuid(guid, found.Receive()))) return found;
        return {};
    }

    ITypeLib* source_;
    const std::vector<ComPtr<ITypeLib>>& imported_;
    ComPtr<ICreateTypeLib2> target_;
    std::vector<ComPtr<ITypeInfo>> sources_;
    std::vector<ComPtr<ICreateTypeInfo>> written_;
};

}  // namespace

void CopyLibrary(ITypeLib* source, const std::vector<ComPtr<ITypeLib>>& imported,
                 const wchar_t* outputPath) {
    LibraryWriter(source, imported).Write(outputPath);
}

}  // namespace quillmark::type_library_writer
