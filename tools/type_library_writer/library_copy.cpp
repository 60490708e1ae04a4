#include "library_copy.h"

#include <oleauto.h>

#include "check_step.h"
#include "platform/windows/owners.h"
#include "type_copy.h"

namespace quillmark::type_library_writer {

namespace {

using com::ComPtr;
using windows::UniqueBstr;

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
        const TLIBATTR attributes = *LibAttrOf(source_).Get();
        CheckStep(CreateTypeLib2(attributes.syskind, outputPath, target_.Receive()),
                  "CreateTypeLib2");
        CopyLibraryAttributes(attributes);

        // Every type exists before any is filled in, so that references may point forwards.
        const UINT count = source_->GetTypeInfoCount();
        for (UINT index = 0; index < count; ++index) {
            ComPtr<ITypeInfo> source;
            CheckStep(source_->GetTypeInfo(index, source.Receive()), "GetTypeInfo");
            sources_.push_back(source);
            written_.push_back(ImportedTypeOf(source.Get()) ? ComPtr<ICreateTypeInfo>()
                                                            : Create(source.Get()));
        }
        for (UINT index = 0; index < count; ++index)
            if (written_[index]) CopyType(sources_[index].Get(), written_[index].Get(), *this);
        for (const ComPtr<ICreateTypeInfo>& type : written_)
            if (type) CheckStep(type->LayOut(), "LayOut");
        CheckStep(target_->SaveAllChanges(), "SaveAllChanges");
    }

    ComPtr<ITypeInfo> TargetOf(ITypeInfo* referenced) const override {
        ComPtr<ITypeLib> container;
        UINT index = 0;
        CheckStep(referenced->GetContainingTypeLib(container.Receive(), &index),
                  "GetContainingTypeLib");
        if (!SameObject(container.Get(), source_)) return ComPtr<ITypeInfo>(referenced);
        if (ComPtr<ITypeInfo> imported = ImportedTypeOf(referenced)) return imported;
        ComPtr<ITypeInfo> written;
        CheckStep(written_.at(index).As(written), "QueryInterface(ITypeInfo)");
        return written;
    }

  private:
    void CopyLibraryAttributes(const TLIBATTR& attributes) {
        CheckStep(target_->SetGuid(attributes.guid), "SetGuid");
        CheckStep(target_->SetLcid(attributes.lcid), "SetLcid");
        CheckStep(target_->SetVersion(attributes.wMajorVerNum, attributes.wMinorVerNum),
                  "SetVersion");
        CheckStep(target_->SetLibFlags(attributes.wLibFlags), "SetLibFlags");
        UniqueBstr name, documentation, helpFile;
        DWORD helpContext = 0;
        CheckStep(source_->GetDocumentation(-1, name.Receive(), documentation.Receive(),
                                            &helpContext, helpFile.Receive()),
                  "GetDocumentation");
        CheckStep(target_->SetName(name.Get()), "SetName");
        if (documentation.Get())
            CheckStep(target_->SetDocString(documentation.Get()), "SetDocString");
        if (helpContext) CheckStep(target_->SetHelpContext(helpContext), "SetHelpContext");
        if (helpFile.Get()) CheckStep(target_->SetHelpFileName(helpFile.Get()), "SetHelpFileName");
    }

    ComPtr<ICreateTypeInfo> Create(ITypeInfo* source) {
        UniqueBstr name;
        CheckStep(source->GetDocumentation(MEMBERID_NIL, name.Receive(), nullptr, nullptr, nullptr),
                  "GetDocumentation");
        ComPtr<ICreateTypeInfo> created;
        CheckStep(target_->CreateTypeInfo(name.Get(), WrittenKind(source), created.Receive()),
                  "CreateTypeInfo");
        return created;
    }

    // The imported libraries' type with the same GUID; empty when there is none.
    ComPtr<ITypeInfo> ImportedTypeOf(ITypeInfo* source) const {
        const GUID guid = TypeAttrOf(source).Get()->guid;
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
