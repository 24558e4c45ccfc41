// When the editor's pictures are decoded: not when an instance is created (hosts create many that never
// show an editor), but when an editor first draws, once per process however many instances and
// threads draw at once.
#include "EditorRig.h"

#include "draw/CachedBitmap.h"

#include <cstdio>
#include <cstdlib>
#include <thread>

namespace tpm
{
namespace
{
// What the default editor shows: the background, both knobs, both wave pictures, the target list's
// face and the sync tab. The three buttons' lit pictures and the open target list wait until shown.
constexpr int kPicturesOfTheDefaultEditor = 7;

[[noreturn]] void Finish(int code, const char* what, int decoded)
{
    std::fprintf(stderr, "%s: %d pictures decoded\n", what, decoded);
    std::exit(code);
}

// Instances made on this thread, their editors opened on two others at once, then a third editor.
void CreateHereOpenElsewhere()
{
    EditorRig first(false);
    EditorRig second(false);
    if (const int decoded = tpm::CachedBitmap::DecodeCount(); decoded != 0)
        Finish(1, "after creating two instances", decoded);
    std::thread a([&first] { first.Open(); });
    std::thread b([&second] { second.Open(); });
    a.join();
    b.join();
    if (const int decoded = tpm::CachedBitmap::DecodeCount(); decoded != kPicturesOfTheDefaultEditor)
        Finish(2, "after two editors drew at once", decoded);
    EditorRig third;
    if (const int decoded = tpm::CachedBitmap::DecodeCount(); decoded != kPicturesOfTheDefaultEditor)
        Finish(3, "after a third editor drew", decoded);
    std::exit(0);
}
} // namespace

TEST(EditorPictures, DecodedOnceWhenAnEditorFirstDrawsNotWhenAnInstanceIsCreated)
{
    // A fresh process (the death-test child re-runs the program), so no earlier test has drawn.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(CreateHereOpenElsewhere(), testing::ExitedWithCode(0), "");
}
} // namespace tpm
