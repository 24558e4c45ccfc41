// A size a plug-in asked its window to take, kept until the host's window loop takes it. Set and
// taken on the main thread only.
#pragma once

namespace tpm
{
class PendingResize
{
  public:
    void Set(int width, int height)
    {
        pendingWidth = width;
        pendingHeight = height;
    }
    // The size asked for since the last take, if any.
    bool Take(int& width, int& height)
    {
        if (pendingWidth <= 0)
            return false;
        width = pendingWidth;
        height = pendingHeight;
        pendingWidth = pendingHeight = 0;
        return true;
    }

  private:
    int pendingWidth = 0; // 0: nothing asked for
    int pendingHeight = 0;
};
} // namespace tpm
