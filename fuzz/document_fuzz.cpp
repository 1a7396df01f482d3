// Opens a document from the input as the coordinate-list editor does, and when it opens,
// paints it and walks the caret over it. Nothing of it may crash, trip a sanitizer, or open
// a document with more points than the editor's rows.
#include "fuzz/EditorUnderTest.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    tavfuzz::Editor editor;
    if (!editor.Open())
        return 0;
    if (!editor.frame.OpenDocument(std::span(bytes, size), "fuzz.tcd"))
        return 0;
    // What opened must fit: binding never cut records away, and a document that did not fit
    // was refused.
    if (editor.data.GetLastInputRecordNo() >= 2000 || editor.data.IsModified())
        std::abort();
    editor.Paint();
    editor.Walk();
    return 0;
}
