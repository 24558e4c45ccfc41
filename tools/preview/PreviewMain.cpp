// tpm_preview [OUTPUT.png]: draws the editor's pictures at their places and writes the result
// (editor-preview.png in the current folder by default).
#include "draw/SystemSurface.h"
#include "tools/preview/EditorPreview.h"
#include "tools/preview/PngWriter.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    const std::string out = argc > 1 ? argv[1] : "editor-preview.png";
    auto surface = tpm::CreateSystemSurface(tpm::EditorPreview::kWidth, tpm::EditorPreview::kHeight);
    if (!surface)
    {
        std::fprintf(stderr, "tpm_preview: cannot make a drawing surface\n");
        return 1;
    }
    tpm::EditorPreview preview;
    if (!preview.Compose(*surface))
    {
        std::fprintf(stderr, "tpm_preview: a picture or a font is missing\n");
        return 1;
    }
    if (!tpm::WritePng(*surface, out))
    {
        std::fprintf(stderr, "tpm_preview: cannot write %s\n", out.c_str());
        return 1;
    }
    std::printf("%s\n", out.c_str());
    return 0;
}
