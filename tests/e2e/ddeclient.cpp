// A DDE client for the end-to-end tests: ddeclient [--service NAME] TOPIC COMMAND connects to the
// service (default TORKKX) under the topic, sends COMMAND as an execute transaction and exits 0
// when the server acknowledged it, 1 when it did not or no connection came about.
#include <windows.h>

#include <ddeml.h>
#include <stdio.h>
#include <string.h>

namespace {

const DWORD TRANSACTION_MS = 5000;

HDDEDATA CALLBACK client_callback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return NULL;
}

// Sends the execute on an open conversation; 0 when it was acknowledged.
int execute(DWORD instance, HCONV conversation, const char *command) {
    DWORD status = 0;
    HDDEDATA result =
        DdeClientTransaction((LPBYTE)command, (DWORD)strlen(command) + 1, conversation, NULL,
                             CF_TEXT, XTYP_EXECUTE, TRANSACTION_MS, &status);
    printf("execute: result %s, status 0x%04lx, error 0x%x\n", result ? "true" : "false",
           (unsigned long)status, DdeGetLastError(instance));
    return result && (status & DDE_FACK) ? 0 : 1;
}

int run(const char *service_name, const char *topic_name, const char *command) {
    DWORD instance = 0;
    if (DdeInitializeA(&instance, client_callback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) {
        puts("no DDE");
        return 1;
    }
    HSZ service = DdeCreateStringHandleA(instance, service_name, CP_WINANSI);
    HSZ topic = DdeCreateStringHandleA(instance, topic_name, CP_WINANSI);
    HCONV conversation = DdeConnect(instance, service, topic, NULL);
    int result = 1;
    if (conversation) {
        result = execute(instance, conversation, command);
        DdeDisconnect(conversation);
    } else {
        printf("no connection to %s|%s (error 0x%x)\n", service_name, topic_name,
               DdeGetLastError(instance));
    }
    DdeFreeStringHandle(instance, service);
    DdeFreeStringHandle(instance, topic);
    DdeUninitialize(instance);
    return result;
}

} // namespace

int main(int argc, char **argv) {
    const char *service = "TORKKX";
    int first = 1;
    if (argc > 2 && strcmp(argv[1], "--service") == 0) {
        service = argv[2];
        first = 3;
    }
    if (argc - first != 2) {
        fputs("usage: ddeclient [--service NAME] TOPIC COMMAND\n", stderr);
        return 2;
    }
    return run(service, argv[first], argv[first + 1]);
}
