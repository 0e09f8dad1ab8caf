#include "data_control.h"

#include "ext-data-control-v1-client-protocol.h"
#include "wlr-data-control-unstable-v1-client-protocol.h"

namespace kobako::platform {

namespace {

// The listeners and the request table of one protocol, from its generated glue.
#define KOBAKO_DATA_CONTROL(prefix, managerName, primarySince)                                     \
    const prefix##_device_v1_listener prefix##DeviceListener = {                                   \
        [](void *s, prefix##_device_v1 *, prefix##_offer_v1 *offer) {                              \
            static_cast<DataControlEvents *>(s)->onDataOffer(offer);                               \
        },                                                                                         \
        [](void *s, prefix##_device_v1 *, prefix##_offer_v1 *offer) {                              \
            static_cast<DataControlEvents *>(s)->onSelection(offer);                               \
        },                                                                                         \
        [](void *s, prefix##_device_v1 *) { static_cast<DataControlEvents *>(s)->onFinished(); },  \
        [](void *s, prefix##_device_v1 *, prefix##_offer_v1 *offer) {                              \
            static_cast<DataControlEvents *>(s)->onPrimarySelection(offer);                        \
        }};                                                                                        \
    const prefix##_offer_v1_listener prefix##OfferListener = {                                     \
        [](void *s, prefix##_offer_v1 *offer, const char *type) {                                  \
            static_cast<DataControlEvents *>(s)->onOfferType(offer, type);                         \
        }};                                                                                        \
    const prefix##_source_v1_listener prefix##SourceListener = {                                   \
        [](void *s, prefix##_source_v1 *source, const char *type, int32_t fd) {                    \
            static_cast<DataControlEvents *>(s)->onSend(source, type, fd);                         \
        },                                                                                         \
        [](void *s, prefix##_source_v1 *source) {                                                  \
            static_cast<DataControlEvents *>(s)->onCancelled(source);                              \
        }};                                                                                        \
    const DataControlProtocol prefix##Protocol = {                                                 \
        managerName,                                                                               \
        &prefix##_manager_v1_interface,                                                            \
        [](void *m, wl_seat *seat) -> void * {                                                     \
            return prefix##_manager_v1_get_data_device(static_cast<prefix##_manager_v1 *>(m),      \
                                                       seat);                                      \
        },                                                                                         \
        [](void *m) -> void * {                                                                    \
            return prefix##_manager_v1_create_data_source(static_cast<prefix##_manager_v1 *>(m));  \
        },                                                                                         \
        [](void *source, const char *type) {                                                       \
            prefix##_source_v1_offer(static_cast<prefix##_source_v1 *>(source), type);             \
        },                                                                                         \
        [](void *source) {                                                                         \
            prefix##_source_v1_destroy(static_cast<prefix##_source_v1 *>(source));                 \
        },                                                                                         \
        [](void *device, void *source) {                                                           \
            prefix##_device_v1_set_selection(static_cast<prefix##_device_v1 *>(device),            \
                                             static_cast<prefix##_source_v1 *>(source));           \
        },                                                                                         \
        [](void *device, void *source) {                                                           \
            prefix##_device_v1_set_primary_selection(static_cast<prefix##_device_v1 *>(device),    \
                                                     static_cast<prefix##_source_v1 *>(source));   \
        },                                                                                         \
        primarySince,                                                                              \
        [](void *offer, const char *type, int fd) {                                                \
            prefix##_offer_v1_receive(static_cast<prefix##_offer_v1 *>(offer), type, fd);          \
        },                                                                                         \
        [](void *offer) { prefix##_offer_v1_destroy(static_cast<prefix##_offer_v1 *>(offer)); },   \
        [](void *device) {                                                                         \
            prefix##_device_v1_destroy(static_cast<prefix##_device_v1 *>(device));                 \
        },                                                                                         \
        [](void *m) { prefix##_manager_v1_destroy(static_cast<prefix##_manager_v1 *>(m)); },       \
        [](void *device, DataControlEvents *events) {                                              \
            return prefix##_device_v1_add_listener(static_cast<prefix##_device_v1 *>(device),      \
                                                   &prefix##DeviceListener, events);               \
        },                                                                                         \
        [](void *offer, DataControlEvents *events) {                                               \
            return prefix##_offer_v1_add_listener(static_cast<prefix##_offer_v1 *>(offer),         \
                                                  &prefix##OfferListener, events);                 \
        },                                                                                         \
        [](void *source, DataControlEvents *events) {                                              \
            return prefix##_source_v1_add_listener(static_cast<prefix##_source_v1 *>(source),      \
                                                   &prefix##SourceListener, events);               \
        }};

KOBAKO_DATA_CONTROL(ext_data_control, "ext_data_control_manager_v1", 1)
KOBAKO_DATA_CONTROL(zwlr_data_control, "zwlr_data_control_manager_v1", 2)
#undef KOBAKO_DATA_CONTROL

} // namespace

const std::array<const DataControlProtocol *, 2> kDataControlProtocols = {
    &ext_data_controlProtocol, &zwlr_data_controlProtocol};

} // namespace kobako::platform
