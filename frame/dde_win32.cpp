// The DDE server under the window class name: accepts every topic of its service and
// acknowledges execute transactions, handing them to the application.
#include "frame/frame.h"
#include "frame/frame_parts.h"
#include <windows.h>
#include <ddeml.h>

enum { DDE_COMMAND_MAX = 200, DDE_TOPIC_MAX = 79 };

static DWORD dde_instance;
static HSZ service;

static HDDEDATA on_execute(HSZ topic, HDDEDATA data) {
    char command[DDE_COMMAND_MAX + 1] = "";
    DWORD got = DdeGetData(data, (LPBYTE)command, DDE_COMMAND_MAX, 0);
    command[got < DDE_COMMAND_MAX ? got : DDE_COMMAND_MAX] = 0;
    char topic_name[DDE_TOPIC_MAX + 1] = "";
    DdeQueryStringA(dde_instance, topic, topic_name, sizeof topic_name, CP_WINANSI);
    // The data handle belongs to the system, which frees it when the callback returns.
    app_dde_execute(topic_name, command);
    return (HDDEDATA)(UINT_PTR)DDE_FACK;
}

static HDDEDATA CALLBACK dde_callback(UINT type, UINT format, HCONV conversation, HSZ first,
                                      HSZ second, HDDEDATA data, ULONG_PTR extra1,
                                      ULONG_PTR extra2) {
    switch (type) {
    case XTYP_CONNECT: // first: the topic, second: the service asked for
        return (HDDEDATA)(UINT_PTR)(DdeCmpStringHandles(second, service) == 0);
    case XTYP_EXECUTE:
        return on_execute(first, data);
    default:
        return nullptr;
    }
}

void dde_start(const char *service_name) {
    if (DdeInitializeA(&dde_instance, dde_callback, CBF_FAIL_ADVISES | CBF_SKIP_ALLNOTIFICATIONS,
                       0) != DMLERR_NO_ERROR) {
        dde_instance = 0;
        return;
    }
    service = DdeCreateStringHandleA(dde_instance, service_name, CP_WINANSI);
    DdeNameService(dde_instance, service, nullptr, DNS_REGISTER);
}

void dde_stop(void) {
    if (!dde_instance) return;
    DdeNameService(dde_instance, service, nullptr, DNS_UNREGISTER);
    DdeFreeStringHandle(dde_instance, service);
    DdeUninitialize(dde_instance);
    dde_instance = 0;
}
