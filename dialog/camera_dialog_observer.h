// What a camera window tells a client of its own besides the host window's notifications: every
// file of a shot, not only the last, and the moments a script waits for. Called on the window's
// thread, after the host window was told; a client may call any operation of the window from
// inside, its destruction included.
#pragma once

#include <string>
#include <vector>

class CameraDialogObserver {
public:
    virtual void OnFileSaved(const std::string& path) {}
    // A shot's transfer is over: every file it wrote, in order (none in memory mode or when the
    // transfer failed at once).
    virtual void OnShotCompleted(const std::vector<std::string>& files) {}
    // The camera asked to be let go (its own controls took over): the window disconnected.
    virtual void OnDisconnectedByCamera() {}
    // The camera switched itself off or was unplugged; the window has reset itself.
    virtual void OnPoweredOff() {}
    virtual void OnViewfinderAvailable(bool available) {}

protected:
    ~CameraDialogObserver() = default;
};
