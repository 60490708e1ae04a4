#include "com/class_factory.h"

#include <shlwapi.h>

#include "com/com_ptr.h"
#include "com/module_lifetime.h"
#include "com/objects.h"

namespace quillmark::com {

namespace {

class ClassFactory final : public IClassFactory {
  public:
    explicit ClassFactory(ObjectCreator create) : create_(create) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** result) override {
        static const QITAB interfaces[] = {QITABENT(ClassFactory, IClassFactory), {}};
        return QISearch(this, interfaces, iid, result);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return references_.Increment(); }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = references_.Decrement();
        if (left == 0) delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** result) override {
        if (!result) return E_POINTER;
        *result = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        return create_(iid, result);
    }

    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock)
            LockModule();
        else
            UnlockModule();
        return S_OK;
    }

  private:
    // A factory that is still held keeps the DLL loaded, like any other object of it.
    ModuleReference moduleReference_;
    RefCount references_;
    ObjectCreator create_;
};

}  // namespace

HRESULT CreateClassFactory(ObjectCreator create, REFIID iid, void** result) {
    return CreateObjectWith<ClassFactory>(iid, result, create);
}

}  // namespace quillmark::com
