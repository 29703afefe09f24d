// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <dbus/dbus.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <thread>

#include "platform/dialog/portal_file_chooser.h"
#include "support/command_run.h"
#include "support/private_bus.h"

namespace lumen {
namespace {

// What the fake portal read from the OpenFile call.
struct SeenCall {
    std::string title;
    std::string token;
    std::string filterName;
    std::vector<std::string> patterns;
};

void readOptions(DBusMessageIter* options, SeenCall& seen) {
    DBusMessageIter entries;
    for (dbus_message_iter_recurse(options, &entries); dbus_message_iter_get_arg_type(&entries) == DBUS_TYPE_DICT_ENTRY;
         dbus_message_iter_next(&entries)) {
        DBusMessageIter entry, variant;
        const char* key = nullptr;
        dbus_message_iter_recurse(&entries, &entry);
        dbus_message_iter_get_basic(&entry, &key);
        dbus_message_iter_next(&entry);
        dbus_message_iter_recurse(&entry, &variant);
        if (std::string(key) == "handle_token") {
            const char* token = nullptr;
            dbus_message_iter_get_basic(&variant, &token);
            seen.token = token;
        } else if (std::string(key) == "filters") {
            DBusMessageIter filters, filter, patterns;
            dbus_message_iter_recurse(&variant, &filters);
            dbus_message_iter_recurse(&filters, &filter);
            const char* name = nullptr;
            dbus_message_iter_get_basic(&filter, &name);
            seen.filterName = name;
            dbus_message_iter_next(&filter);
            for (dbus_message_iter_recurse(&filter, &patterns);
                 dbus_message_iter_get_arg_type(&patterns) == DBUS_TYPE_STRUCT; dbus_message_iter_next(&patterns)) {
                DBusMessageIter item;
                const char* glob = nullptr;
                dbus_message_iter_recurse(&patterns, &item);
                dbus_message_iter_next(&item);
                dbus_message_iter_get_basic(&item, &glob);
                seen.patterns.push_back(glob);
            }
        }
    }
}

// Answers one OpenFile call as xdg-desktop-portal does: the request's
// handle as the reply, then its Response signal.
class FakePortal {
public:
    FakePortal(uint32_t response, std::string uri) : response_(response), uri_(std::move(uri)) {
        connection_ = dbus_connection_open_private(std::getenv("DBUS_SESSION_BUS_ADDRESS"), nullptr);
        dbus_bus_register(connection_, nullptr);
        dbus_bus_request_name(connection_, "org.freedesktop.portal.Desktop", DBUS_NAME_FLAG_DO_NOT_QUEUE, nullptr);
        thread_ = std::thread([this] { serve(); });
    }
    ~FakePortal() {
        stop_ = true;
        thread_.join();
        dbus_connection_close(connection_);
        dbus_connection_unref(connection_);
    }
    SeenCall seen;

private:
    void serve() {
        while (!stop_ && dbus_connection_read_write(connection_, 50)) {
            while (DBusMessage* call = dbus_connection_pop_message(connection_)) {
                if (dbus_message_is_method_call(call, "org.freedesktop.portal.FileChooser", "OpenFile")) answer(call);
                dbus_message_unref(call);
            }
        }
    }
    void answer(DBusMessage* call) {
        DBusMessageIter arguments;
        const char* text = nullptr;
        dbus_message_iter_init(call, &arguments);
        dbus_message_iter_next(&arguments);
        dbus_message_iter_get_basic(&arguments, &text);
        seen.title = text;
        dbus_message_iter_next(&arguments);
        readOptions(&arguments, seen);
        std::string sender = dbus_message_get_sender(call) + 1;
        for (char& c : sender) c = c == '.' ? '_' : c;
        const std::string handle = "/org/freedesktop/portal/desktop/request/" + sender + "/" + seen.token;
        const char* handleText = handle.c_str();
        DBusMessage* reply = dbus_message_new_method_return(call);
        dbus_message_append_args(reply, DBUS_TYPE_OBJECT_PATH, &handleText, DBUS_TYPE_INVALID);
        dbus_connection_send(connection_, reply, nullptr);
        dbus_message_unref(reply);
        DBusMessage* signal = dbus_message_new_signal(handle.c_str(), "org.freedesktop.portal.Request", "Response");
        DBusMessageIter out, results, entry, variant, uris;
        dbus_message_iter_init_append(signal, &out);
        dbus_message_iter_append_basic(&out, DBUS_TYPE_UINT32, &response_);
        dbus_message_iter_open_container(&out, DBUS_TYPE_ARRAY, "{sv}", &results);
        if (response_ == 0) {
            const char* key = "uris";
            const char* uri = uri_.c_str();
            dbus_message_iter_open_container(&results, DBUS_TYPE_DICT_ENTRY, nullptr, &entry);
            dbus_message_iter_append_basic(&entry, DBUS_TYPE_STRING, &key);
            dbus_message_iter_open_container(&entry, DBUS_TYPE_VARIANT, "as", &variant);
            dbus_message_iter_open_container(&variant, DBUS_TYPE_ARRAY, "s", &uris);
            dbus_message_iter_append_basic(&uris, DBUS_TYPE_STRING, &uri);
            dbus_message_iter_close_container(&variant, &uris);
            dbus_message_iter_close_container(&entry, &variant);
            dbus_message_iter_close_container(&results, &entry);
        }
        dbus_message_iter_close_container(&out, &results);
        dbus_connection_send(connection_, signal, nullptr);
        dbus_connection_flush(connection_);
        dbus_message_unref(signal);
    }

    uint32_t response_;
    std::string uri_;
    DBusConnection* connection_ = nullptr;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

using PortalFileChooserTest = testing::PrivateBusTest;

const OpenFileRequest request{"Open a recording", {"*.edf", "*.hea"}, "Holter recordings"};

TEST_F(PortalFileChooserTest, TheChosenUriBecomesAPath) {
    FakePortal portal(0, "file:///data/My%20file.edf");
    const ChooserAnswer answer = chooseWithPortal(request);
    EXPECT_EQ(answer.outcome, ChooserOutcome::Chosen);
    EXPECT_EQ(answer.path, "/data/My file.edf");
    EXPECT_EQ(portal.seen.title, request.title);
    EXPECT_EQ(portal.seen.filterName, request.patternName);
    EXPECT_EQ(portal.seen.patterns, request.patterns);
}

TEST_F(PortalFileChooserTest, ACancelIsAnAnswerAndNoPortalIsNone) {
    {
        FakePortal portal(1, "");
        EXPECT_EQ(chooseWithPortal(request).outcome, ChooserOutcome::Cancelled);
    }
    EXPECT_EQ(chooseWithPortal(request).outcome, ChooserOutcome::Unavailable);
}

}  // namespace
}  // namespace lumen
