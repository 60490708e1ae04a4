// Writes a type library through the automation runtime's own writer:
//
//   type-library-writer SOURCE OUTPUT [IMPORTED...]
//
// SOURCE is the library widl compiled from the IDL; OUTPUT receives the same library with the
// types of the IMPORTED libraries referred to instead of copied (see library_copy.h). widl
// cannot write such a reference, the runtime's writer can.

#include <ole2.h>

#include <cstdio>
#include <exception>
#include <vector>

#include "check_step.h"
#include "library_copy.h"

namespace {

using quillmark::com::ComPtr;
using quillmark::type_library_writer::CheckStep;

ComPtr<ITypeLib> Load(const wchar_t* path) {
    ComPtr<ITypeLib> library;
    CheckStep(LoadTypeLibEx(path, REGKIND_NONE, library.Receive()), "loading a type library");
    return library;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fputs("usage: type-library-writer SOURCE OUTPUT [IMPORTED...]\n", stderr);
        return 2;
    }
    try {
        const ComPtr<ITypeLib> source = Load(argv[1]);
        std::vector<ComPtr<ITypeLib>> imported;
        for (int index = 3; index < argc; ++index) imported.push_back(Load(argv[index]));
        quillmark::type_library_writer::CopyLibrary(source.Get(), imported, argv[2]);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "type-library-writer: %s\n", error.what());
        return 1;
    }
}
