// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/dialog/portal_file_chooser.h"

#include <dbus/dbus.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "platform/dialog/file_uri.h"

namespace lumen {

namespace {

constexpr const char* portalName = "org.freedesktop.portal.Desktop";
constexpr const char* portalPath = "/org/freedesktop/portal/desktop";
constexpr const char* chooserInterface = "org.freedesktop.portal.FileChooser";
constexpr const char* requestInterface = "org.freedesktop.portal.Request";
// Long enough for the bus to start a portal that is not yet running.
constexpr int callTimeoutMs = 25'000;
// While the dialog is open the portal's presence is checked this often.
constexpr int presenceCheckMs = 1'000;
constexpr uint32_t responseChosen = 0;
constexpr uint32_t patternGlob = 0;  // (0, "*.edf") in a filter, not a MIME type

struct ConnectionCloser {
    void operator()(DBusConnection* connection) const {
        dbus_connection_close(connection);
        dbus_connection_unref(connection);
    }
};
using Connection = std::unique_ptr<DBusConnection, ConnectionCloser>;

struct MessageUnref {
    void operator()(DBusMessage* message) const { dbus_message_unref(message); }
};
using Message = std::unique_ptr<DBusMessage, MessageUnref>;

Connection openSessionBus() {
    const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    if (address == nullptr || *address == '\0') return nullptr;
    DBusError error;
    dbus_error_init(&error);
    Connection connection(dbus_connection_open_private(address, &error));
    if (connection && !dbus_bus_register(connection.get(), &error)) connection.reset();
    dbus_error_free(&error);
    if (connection) dbus_connection_set_exit_on_disconnect(connection.get(), FALSE);
    return connection;
}

// The request object the portal will use for our token
// (org.freedesktop.portal.Request): ":1.42" becomes "1_42".
std::string requestPath(DBusConnection* connection, const std::string& token) {
    std::string sender = dbus_bus_get_unique_name(connection);
    if (!sender.empty() && sender.front() == ':') sender.erase(0, 1);
    for (char& c : sender) {
        if (c == '.') c = '_';
    }
    return std::string(portalPath) + "/request/" + sender + "/" + token;
}

void watchResponse(DBusConnection* connection, const std::string& path) {
    const std::string rule =
        std::string("type='signal',interface='") + requestInterface + "',member='Response',path='" + path + "'";
    dbus_bus_add_match(connection, rule.c_str(), nullptr);
}

void appendEntry(DBusMessageIter* dictionary, const char* key, const char* signature,
                 void (*value)(DBusMessageIter*, const void*), const void* data) {
    DBusMessageIter entry;
    DBusMessageIter variant;
    dbus_message_iter_open_container(dictionary, DBUS_TYPE_DICT_ENTRY, nullptr, &entry);
    dbus_message_iter_append_basic(&entry, DBUS_TYPE_STRING, &key);
    dbus_message_iter_open_container(&entry, DBUS_TYPE_VARIANT, signature, &variant);
    value(&variant, data);
    dbus_message_iter_close_container(&entry, &variant);
    dbus_message_iter_close_container(dictionary, &entry);
}

void appendString(DBusMessageIter* variant, const void* data) {
    const char* text = static_cast<const std::string*>(data)->c_str();
    dbus_message_iter_append_basic(variant, DBUS_TYPE_STRING, &text);
}

void appendTrue(DBusMessageIter* variant, const void* /*data*/) {
    const dbus_bool_t yes = TRUE;
    dbus_message_iter_append_basic(variant, DBUS_TYPE_BOOLEAN, &yes);
}

// One filter (name, [(0, pattern)...]) as a(sa(us)).
void appendFilters(DBusMessageIter* variant, const void* data) {
    const auto& request = *static_cast<const OpenFileRequest*>(data);
    DBusMessageIter filters;
    DBusMessageIter filter;
    DBusMessageIter patterns;
    dbus_message_iter_open_container(variant, DBUS_TYPE_ARRAY, "(sa(us))", &filters);
    dbus_message_iter_open_container(&filters, DBUS_TYPE_STRUCT, nullptr, &filter);
    const char* name = request.patternName.c_str();
    dbus_message_iter_append_basic(&filter, DBUS_TYPE_STRING, &name);
    dbus_message_iter_open_container(&filter, DBUS_TYPE_ARRAY, "(us)", &patterns);
    for (const std::string& pattern : request.patterns) {
        DBusMessageIter item;
        const char* glob = pattern.c_str();
        dbus_message_iter_open_container(&patterns, DBUS_TYPE_STRUCT, nullptr, &item);
        dbus_message_iter_append_basic(&item, DBUS_TYPE_UINT32, &patternGlob);
        dbus_message_iter_append_basic(&item, DBUS_TYPE_STRING, &glob);
        dbus_message_iter_close_container(&patterns, &item);
    }
    dbus_message_iter_close_container(&filter, &patterns);
    dbus_message_iter_close_container(&filters, &filter);
    dbus_message_iter_close_container(variant, &filters);
}

Message openFileCall(const OpenFileRequest& request, const std::string& token) {
    Message call(dbus_message_new_method_call(portalName, portalPath, chooserInterface, "OpenFile"));
    if (!call) return nullptr;
    DBusMessageIter arguments;
    DBusMessageIter options;
    dbus_message_iter_init_append(call.get(), &arguments);
    const char* parentWindow = "";
    const char* title = request.title.c_str();
    dbus_message_iter_append_basic(&arguments, DBUS_TYPE_STRING, &parentWindow);
    dbus_message_iter_append_basic(&arguments, DBUS_TYPE_STRING, &title);
    dbus_message_iter_open_container(&arguments, DBUS_TYPE_ARRAY, "{sv}", &options);
    appendEntry(&options, "handle_token", "s", appendString, &token);
    appendEntry(&options, "modal", "b", appendTrue, nullptr);
    if (!request.patterns.empty()) appendEntry(&options, "filters", "a(sa(us))", appendFilters, &request);
    dbus_message_iter_close_container(&arguments, &options);
    return call;
}

// The first of the "uris" in a Response's results (a{sv}).
std::optional<std::string> firstUri(DBusMessageIter* results) {
    if (dbus_message_iter_get_arg_type(results) != DBUS_TYPE_ARRAY) return std::nullopt;
    DBusMessageIter entries;
    for (dbus_message_iter_recurse(results, &entries); dbus_message_iter_get_arg_type(&entries) == DBUS_TYPE_DICT_ENTRY;
         dbus_message_iter_next(&entries)) {
        DBusMessageIter entry;
        DBusMessageIter variant;
        DBusMessageIter uris;
        const char* key = nullptr;
        dbus_message_iter_recurse(&entries, &entry);
        dbus_message_iter_get_basic(&entry, &key);
        if (std::string_view(key) != "uris" || !dbus_message_iter_next(&entry)) continue;
        dbus_message_iter_recurse(&entry, &variant);
        if (dbus_message_iter_get_arg_type(&variant) != DBUS_TYPE_ARRAY) return std::nullopt;
        dbus_message_iter_recurse(&variant, &uris);
        if (dbus_message_iter_get_arg_type(&uris) != DBUS_TYPE_STRING) return std::nullopt;
        const char* uri = nullptr;
        dbus_message_iter_get_basic(&uris, &uri);
        return std::string(uri);
    }
    return std::nullopt;
}

ChooserAnswer readResponse(DBusMessage* response) {
    DBusMessageIter arguments;
    dbus_uint32_t code = 1;
    if (!dbus_message_iter_init(response, &arguments) ||
        dbus_message_iter_get_arg_type(&arguments) != DBUS_TYPE_UINT32) {
        return ChooserAnswer{ChooserOutcome::Cancelled, {}};
    }
    dbus_message_iter_get_basic(&arguments, &code);
    dbus_message_iter_next(&arguments);
    const std::optional<std::string> uri = code == responseChosen ? firstUri(&arguments) : std::nullopt;
    const std::optional<std::string> path = uri ? pathFromFileUri(*uri) : std::nullopt;
    if (!path) return ChooserAnswer{ChooserOutcome::Cancelled, {}};
    return ChooserAnswer{ChooserOutcome::Chosen, *path};
}

// Waits for the dialog's answer; a portal that goes away ends the wait.
ChooserAnswer awaitResponse(DBusConnection* connection, const std::string& handle) {
    for (;;) {
        // The answer may have come already, while the call itself was waited for.
        while (Message message{dbus_connection_pop_message(connection)}) {
            const char* path = dbus_message_get_path(message.get());
            if (dbus_message_is_signal(message.get(), requestInterface, "Response") && path != nullptr &&
                handle == path) {
                return readResponse(message.get());
            }
        }
        if (!dbus_connection_read_write(connection, presenceCheckMs)) return {};
        if (dbus_connection_get_dispatch_status(connection) == DBUS_DISPATCH_DATA_REMAINS) continue;
        if (!dbus_bus_name_has_owner(connection, portalName, nullptr)) return {};
    }
}

}  // namespace

ChooserAnswer chooseWithPortal(const OpenFileRequest& request) {
    Connection connection = openSessionBus();
    if (!connection) return {};
    static int requestsMade = 0;
    const std::string token = "lumen" + std::to_string(getpid()) + "_" + std::to_string(++requestsMade);
    std::string handle = requestPath(connection.get(), token);
    watchResponse(connection.get(), handle);
    const Message call = openFileCall(request, token);
    if (!call) return {};
    DBusError error;
    dbus_error_init(&error);
    const Message reply{dbus_connection_send_with_reply_and_block(connection.get(), call.get(), callTimeoutMs, &error)};
    dbus_error_free(&error);
    const char* returned = nullptr;
    if (!reply || !dbus_message_get_args(reply.get(), nullptr, DBUS_TYPE_OBJECT_PATH, &returned, DBUS_TYPE_INVALID)) {
        return {};
    }
    if (handle != returned) {
        handle = returned;  // a portal older than handle_token
        watchResponse(connection.get(), handle);
    }
    return awaitResponse(connection.get(), handle);
}

}  // namespace lumen
