#include "com/class_factory.h"

#include "com/com_object.h"
#include "com/module_lifetime.h"

namespace quillmark::com {

namespace {

// A factory that is still held keeps the DLL loaded, like any other object of it.
class ClassFactory final : public ComObject<ClassFactory, IClassFactory> {
  public:
    static const QITAB kInterfaces[];

    explicit ClassFactory(ObjectCreator create) : create_(create) {}

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
    ~ClassFactory() override = default;

    ObjectCreator create_;
};

const QITAB ClassFactory::kInterfaces[] = {QITABENT(ClassFactory, IClassFactory), {}};

}  // namespace

HRESULT CreateClassFactory(ObjectCreator create, REFIID iid, void** result) {
    return ClassFactory::Create(iid, result, create);
}

}  // namespace quillmark::com
