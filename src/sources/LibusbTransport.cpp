// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources/LibusbTransport.h"

#include <QLoggingCategory>

#include <libusb.h>

namespace orv {

namespace {

// Off by default; QT_LOGGING_RULES="orvalin.board.debug=true" says why a board does not open.
Q_LOGGING_CATEGORY(lcBoard, "orvalin.board", QtWarningMsg)

constexpr int kInterface = 0;
constexpr unsigned char kEndpointIn = 0x81;

class LibusbTransport final : public BoardTransport {
public:
    LibusbTransport() = default;
    LibusbTransport(const LibusbTransport &) = delete;
    LibusbTransport &operator=(const LibusbTransport &) = delete;

    ~LibusbTransport() override
    {
        close();
        if (m_context)
            libusb_exit(m_context);
    }

    bool open(quint16 vendorId, quint16 productId) override
    {
        close();
        if (!ensureContext())
            return false;

        // Enumeration reads cached descriptors and sends nothing on the bus, so
        // with no board this returns in well under a millisecond or two.
        libusb_device **devices = nullptr;
        const ssize_t count = libusb_get_device_list(m_context, &devices);
        if (count < 0) {
            qCDebug(lcBoard) << "device list:" << libusb_error_name(static_cast<int>(count));
            return false;
        }
        libusb_device_handle *handle = nullptr;
        int rc = LIBUSB_ERROR_NOT_FOUND;
        for (ssize_t i = 0; i < count && !handle; ++i) {
            libusb_device_descriptor descriptor{};
            if (libusb_get_device_descriptor(devices[i], &descriptor) != 0 || descriptor.idVendor != vendorId
                || descriptor.idProduct != productId)
                continue;
            rc = libusb_open(devices[i], &handle);
            if (rc != 0)
                handle = nullptr;
        }
        libusb_free_device_list(devices, 1);

        if (!handle) {
            // LIBUSB_ERROR_ACCESS here means the udev rule is missing.
            qCDebug(lcBoard) << "open" << Qt::hex << vendorId << productId << ":" << libusb_error_name(rc);
            return false;
        }
        if (!claim(handle)) {
            libusb_close(handle);
            return false;
        }
        m_handle = handle;
        return true;
    }

    int read(BoardReport &report, int timeoutMs) override
    {
        if (!m_handle)
            return -1;
        // libusb would take a timeout of 0 as "wait forever".
        if (timeoutMs <= 0)
            return 0;
        int transferred = 0;
        const int rc = libusb_interrupt_transfer(m_handle, kEndpointIn, report.data(), static_cast<int>(report.size()),
                                                 &transferred, static_cast<unsigned int>(timeoutMs));
        if (rc == 0 || rc == LIBUSB_ERROR_TIMEOUT)
            return transferred;
        qCDebug(lcBoard) << "read:" << libusb_error_name(rc);
        return -1;
    }

    void close() override
    {
        if (!m_handle)
            return;
        // Both fail harmlessly on a board that is already gone.
        libusb_release_interface(m_handle, kInterface);
        libusb_close(m_handle);
        m_handle = nullptr;
    }

    bool isOpen() const override { return m_handle != nullptr; }

private:
    // Started on first use and retried on each open while it fails, so a
    // machine without USB costs nothing until the board source is chosen.
    bool ensureContext()
    {
        if (m_context)
            return true;
        const int rc = libusb_init(&m_context);
        if (rc != 0) {
            qCDebug(lcBoard) << "libusb_init:" << libusb_error_name(rc);
            m_context = nullptr;
            return false;
        }
        return true;
    }

    static bool claim(libusb_device_handle *handle)
    {
        if (libusb_kernel_driver_active(handle, kInterface) == 1) {
            // The comedi driver vmk80xx binds these ids where it is loaded. We leave it
            // detached on release: rebinding it twice a second would only churn.
            const int rc = libusb_detach_kernel_driver(handle, kInterface);
            if (rc != 0 && rc != LIBUSB_ERROR_NOT_FOUND) {
                qCDebug(lcBoard) << "detach kernel driver:" << libusb_error_name(rc);
                return false;
            }
        }
        const int rc = libusb_claim_interface(handle, kInterface);
        if (rc != 0) {
            qCDebug(lcBoard) << "claim interface:" << libusb_error_name(rc);
            return false;
        }
        return true;
    }

    libusb_context *m_context = nullptr;
    libusb_device_handle *m_handle = nullptr;
};

} // namespace

std::unique_ptr<BoardTransport> makeLibusbTransport()
{
    return std::make_unique<LibusbTransport>();
}

} // namespace orv
