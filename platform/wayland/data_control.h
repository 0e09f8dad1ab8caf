#pragma once

#include <array>
#include <cstdint>

struct wl_interface;
struct wl_seat;

namespace kobako::platform {

// What a clipboard hears from a compositor's data control. Objects are the protocol's own,
// untyped so that either protocol's come through.
class DataControlEvents {
  public:
    virtual void onDataOffer(void *offer) = 0;
    virtual void onOfferType(void *offer, const char *type) = 0;
    virtual void onSelection(void *offer) = 0;
    virtual void onPrimarySelection(void *offer) = 0;
    virtual void onFinished() = 0;
    virtual void onSend(void *source, const char *type, int fd) = 0;
    virtual void onCancelled(void *source) = 0;

  protected:
    ~DataControlEvents() = default;
};

// The requests of one data-control protocol. The standard one and wlroots' have the same
// requests and events under different names; through this table the clipboard is written once.
struct DataControlProtocol {
    const char *name; // of its manager's interface, as the compositor announces it
    const wl_interface *manager;
    void *(*getDevice)(void *manager, wl_seat *seat);
    void *(*createSource)(void *manager);
    void (*offerType)(void *source, const char *type);
    void (*destroySource)(void *source);
    void (*setSelection)(void *device, void *source);
    void (*setPrimarySelection)(void *device, void *source);
    uint32_t primaryVersion; // of the manager, the first that sets the primary selection
    void (*receive)(void *offer, const char *type, int fd);
    void (*destroyOffer)(void *offer);
    void (*destroyDevice)(void *device);
    void (*destroyManager)(void *manager);
    int (*listenToDevice)(void *device, DataControlEvents *events);
    int (*listenToOffer)(void *offer, DataControlEvents *events);
    int (*listenToSource)(void *source, DataControlEvents *events);
};

// Preferred first: the standard protocol, then wlroots'.
extern const std::array<const DataControlProtocol *, 2> kDataControlProtocols;

} // namespace kobako::platform
