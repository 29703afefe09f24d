// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/process/session_bus.h"

#include <dbus/dbus.h>

#include <cstdlib>
#include <cstring>

namespace lumen {

struct SessionBus::Impl {
    DBusConnection* connection = nullptr;
    uint32_t accepted = 0;
};

namespace {

bool readNumber(DBusMessage* message, uint32_t& number) {
    DBusError error;
    dbus_error_init(&error);
    dbus_uint32_t value = 0;
    const bool read = dbus_message_get_args(message, &error, DBUS_TYPE_UINT32, &value, DBUS_TYPE_INVALID) != 0;
    dbus_error_free(&error);
    number = value;
    return read;
}

}  // namespace

SessionBus::SessionBus(uint32_t accepted) : impl_(std::make_unique<Impl>()) {
    impl_->accepted = accepted;
    // Without an address libdbus would try to launch a bus; we only use one that is there.
    const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    if (address == nullptr || *address == '\0') {
        return;
    }
    DBusError error;
    dbus_error_init(&error);
    // Opened by address each time: libdbus keeps the first session address it saw.
    impl_->connection = dbus_connection_open_private(address, &error);
    dbus_error_free(&error);
    if (impl_->connection == nullptr) {
        return;
    }
    if (!dbus_bus_register(impl_->connection, &error)) {
        dbus_error_free(&error);
        dbus_connection_close(impl_->connection);
        dbus_connection_unref(impl_->connection);
        impl_->connection = nullptr;
        return;
    }
    dbus_connection_set_exit_on_disconnect(impl_->connection, FALSE);
    dbus_bus_request_name(impl_->connection, busName, DBUS_NAME_FLAG_DO_NOT_QUEUE, &error);
    dbus_error_free(&error);
    const std::string rule = std::string("type='signal',interface='") + interfaceName + "',member='" + signalName + "'";
    dbus_bus_add_match(impl_->connection, rule.c_str(), &error);
    dbus_error_free(&error);
}

SessionBus::~SessionBus() {
    if (impl_->connection != nullptr) {
        dbus_connection_flush(impl_->connection);
        dbus_connection_close(impl_->connection);
        dbus_connection_unref(impl_->connection);
    }
}

bool SessionBus::isConnected() const {
    return impl_->connection != nullptr && dbus_connection_get_is_connected(impl_->connection) != 0;
}

bool SessionBus::broadcast(uint32_t message) {
    if (!isConnected()) {
        return false;
    }
    DBusMessage* signal = dbus_message_new_signal(objectPath, interfaceName, signalName);
    if (signal == nullptr) {
        return false;
    }
    const dbus_uint32_t value = message;
    dbus_message_append_args(signal, DBUS_TYPE_UINT32, &value, DBUS_TYPE_INVALID);
    const bool sent = dbus_connection_send(impl_->connection, signal, nullptr) != 0;
    dbus_message_unref(signal);
    dbus_connection_flush(impl_->connection);
    return sent;
}

std::vector<uint32_t> SessionBus::takeReceived() {
    std::vector<uint32_t> received;
    if (!isConnected()) {
        return received;
    }
    dbus_connection_read_write(impl_->connection, 0);
    const char* self = dbus_bus_get_unique_name(impl_->connection);
    while (DBusMessage* message = dbus_connection_pop_message(impl_->connection)) {
        uint32_t number = 0;
        const char* sender = dbus_message_get_sender(message);
        const bool fromSelf = sender != nullptr && self != nullptr && std::strcmp(sender, self) == 0;
        if (dbus_message_is_signal(message, interfaceName, signalName) && !fromSelf && readNumber(message, number) &&
            number == impl_->accepted) {
            received.push_back(number);
        } else if (dbus_message_is_method_call(message, interfaceName, methodName)) {
            const bool valid = readNumber(message, number);
            DBusMessage* reply = valid ? dbus_message_new_method_return(message)
                                       : dbus_message_new_error(message, DBUS_ERROR_INVALID_ARGS, "expects one uint32");
            if (reply != nullptr) {
                dbus_connection_send(impl_->connection, reply, nullptr);
                dbus_message_unref(reply);
            }
            if (valid && number == impl_->accepted) {
                received.push_back(number);
            }
        }
        dbus_message_unref(message);
    }
    dbus_connection_flush(impl_->connection);
    return received;
}

// On this system the session bus carries the messages between programs.
std::unique_ptr<ProgramMessages> openProgramMessages(uint32_t accepted) {
    return std::make_unique<SessionBus>(accepted);
}

}  // namespace lumen
