// The server's connection points: sinks advised and unadvised, the events each engine
// event becomes, and how a failing sink reaches the engine's error report.

#include "tests/com/LateBound.h"

#include <string>
#include <utility>
#include <vector>

namespace vantorel::host::com::testing {
namespace {

// The subject of the item an event passes (VT_DISPATCH at rgvarg[at]).
std::string subjectOf(const DISPPARAMS& params, UINT at) {
    if (at >= params.cArgs || params.rgvarg[at].vt != VT_DISPATCH) {
        return "(no item)";
    }
    const oc::Variant subject = get(params.rgvarg[at].pdispVal, L"Subject");
    return oc::toText(*subject).toStdString();
}

class ServerEventsTest : public ServerTest {
public:
    ServerEventsTest() {
        errors = engine->onEventError([this](const QString& event, const QString& text) {
            reported.push_back((event + QStringLiteral(": ") + text).toStdString());
        });
    }

    // A sink that logs "NAME:" and the subject of the item each event passes.
    oc::ComPtr<Sink> itemAddSink(const std::string& name) {
        return Sink::make(oc::DIID_ItemsEvents,
                          [this, name](DISPID id, DISPPARAMS& params, EXCEPINFO*) {
                              EXPECT_EQ(id, oc::DISPID_ItemAdd);
                              EXPECT_EQ(params.cArgs, 1u);
                              log.push_back(name + ":" + subjectOf(params, 0));
                              return S_OK;
                          });
    }

    void deliver(const char* subject) {
        engine->deliver(reply(QStringLiteral("ann@example.com"), QString::fromUtf8(subject)));
    }

    outlook::Connection errors;
    std::vector<std::string> log;
    std::vector<std::string> reported;
};

TEST_F(ServerEventsTest, ItemSendHandsOverTheItemAndItsCancel) {
    struct Row {
        const char* label;
        bool cancel;
        int sent;
    };
    const Row rows[] = {{"let through", false, 1}, {"cancelled", true, 0}};
    int sentBefore = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        const oc::ComPtr<Sink> sink = Sink::make(
            oc::DIID_ApplicationEvents_11, [&](DISPID id, DISPPARAMS& params, EXCEPINFO*) {
                if (id != oc::DISPID_ItemSend) {
                    return S_OK;
                }
                EXPECT_EQ(params.cArgs, 2u);
                EXPECT_EQ(params.rgvarg[0].vt, VT_BOOL | VT_BYREF);
                EXPECT_EQ(*params.rgvarg[0].pboolVal, VARIANT_FALSE);
                log.push_back("ItemSend:" + subjectOf(params, 1));
                *params.rgvarg[0].pboolVal = row.cancel ? VARIANT_TRUE : VARIANT_FALSE;
                return S_OK;
            });
        const DWORD cookie = advise(application.get(), oc::DIID_ApplicationEvents_11, sink.get());
        const Object mail = create(ol::olMailItem);
        put(mail.get(), L"Subject", oc::Variant::text(QStringLiteral("Offer")));
        put(mail.get(), L"To", oc::Variant::text(QStringLiteral("ann@example.com")));
        call(mail.get(), L"Send");
        EXPECT_EQ(log, (std::vector<std::string>{"ItemSend:Offer"}));
        const int sent = (*get(items(ol::olFolderSentMail).get(), L"Count")).lVal - sentBefore;
        EXPECT_EQ(sent, row.sent);
        sentBefore += sent;
        log.clear();
        EXPECT_EQ(unadvise(application.get(), oc::DIID_ApplicationEvents_11, cookie), S_OK);
    }
    EXPECT_TRUE(reported.empty());
}

// The client promises no order among the sinks of one event; the server calls them in
// the reverse order of their Advise, so that no add-in comes to count on that order.
TEST_F(ServerEventsTest, ItemAddReachesEachSinkInReverseAdviseOrderWhileAdvised) {
    Object inbox = items(ol::olFolderInbox);
    const oc::ComPtr<Sink> first = itemAddSink("first");
    const oc::ComPtr<Sink> second = itemAddSink("second");
    const DWORD a = advise(inbox.get(), oc::DIID_ItemsEvents, first.get());
    const DWORD b = advise(inbox.get(), oc::DIID_ItemsEvents, second.get());
    EXPECT_NE(a, b);
    EXPECT_EQ(activeAdvises(), 2);

    // The add-in lets go of the collection: it lives on while sinks are advised.
    IDispatch* const kept = inbox.get();
    inbox.reset();
    EXPECT_GT(liveServerObjects(), 0);
    deliver("One");
    EXPECT_EQ(log, (std::vector<std::string>{"second:One", "first:One"}));

    log.clear();
    EXPECT_EQ(unadvise(kept, oc::DIID_ItemsEvents, a), S_OK);
    deliver("Two");
    EXPECT_EQ(log, (std::vector<std::string>{"second:Two"}));
    EXPECT_EQ(activeAdvises(), 1);

    log.clear();
    EXPECT_EQ(unadvise(kept, oc::DIID_ItemsEvents, b), S_OK);  // the last reference goes
    deliver("Three");
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(reported.empty());
}

TEST_F(ServerEventsTest, AFailingSinkIsReportedAsTheEngineReportsAHandler) {
    struct Row {
        const char* label;
        Sink::Handler fail;
        std::string expected;
    };
    const Row rows[] = {
        {"its own error",
         [](DISPID, DISPPARAMS&, EXCEPINFO* error) {
             return raiseError(error, QStringLiteral("The follow-up could not be stored."));
         },
         "ItemAdd: The follow-up could not be stored."},
        {"an error without a text",
         [](DISPID, DISPPARAMS&, EXCEPINFO* error) {
             *error = EXCEPINFO{};
             error->scode = E_ACCESSDENIED;
             return DISP_E_EXCEPTION;
         },
         "ItemAdd: ItemAdd failed: " + oc::resultText(E_ACCESSDENIED).toStdString()},
        {"a failing result", [](DISPID, DISPPARAMS&, EXCEPINFO*) { return E_OUTOFMEMORY; },
         "ItemAdd: ItemAdd failed: " + oc::resultText(E_OUTOFMEMORY).toStdString()},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        const Object inbox = items(ol::olFolderInbox);
        const oc::ComPtr<Sink> failing = Sink::make(oc::DIID_ItemsEvents, row.fail);
        const oc::ComPtr<Sink> after = itemAddSink("after");
        const DWORD a = advise(inbox.get(), oc::DIID_ItemsEvents, failing.get());
        const DWORD b = advise(inbox.get(), oc::DIID_ItemsEvents, after.get());
        deliver("Late");
        EXPECT_EQ(reported, (std::vector<std::string>{row.expected}));
        EXPECT_EQ(log, (std::vector<std::string>{"after:Late"}));  // the next one still runs
        EXPECT_EQ(unadvise(inbox.get(), oc::DIID_ItemsEvents, a), S_OK);
        EXPECT_EQ(unadvise(inbox.get(), oc::DIID_ItemsEvents, b), S_OK);
        reported.clear();
        log.clear();
    }
}

TEST_F(ServerEventsTest, AComposeWindowIsAnnouncedThenActivatedThenClosed) {
    const Object inspectors = getObject(application.get(), L"Inspectors");
    Object announced;
    DWORD inspectorCookie = 0;
    const oc::ComPtr<Sink> inspectorSink =
        Sink::make(oc::DIID_InspectorEvents_10, [&](DISPID id, DISPPARAMS& params, EXCEPINFO*) {
            EXPECT_EQ(params.cArgs, 0u);
            log.push_back(id == oc::DISPID_InspectorActivate ? "Activate"
                          : id == oc::DISPID_InspectorClose  ? "Close"
                                                             : "other");
            return S_OK;
        });
    // As the add-in does: the new window's own events are hooked when it is announced.
    const oc::ComPtr<Sink> inspectorsSink =
        Sink::make(oc::DIID_InspectorsEvents, [&](DISPID id, DISPPARAMS& params, EXCEPINFO*) {
            EXPECT_EQ(id, oc::DISPID_NewInspector);
            EXPECT_EQ(params.cArgs, 1u);
            EXPECT_EQ(params.rgvarg[0].vt, VT_DISPATCH);
            announced = Object(params.rgvarg[0].pdispVal);
            log.push_back(
                "NewInspector:" +
                oc::toText(*get(getObject(announced.get(), L"CurrentItem").get(), L"Subject"))
                    .toStdString());
            inspectorCookie =
                advise(announced.get(), oc::DIID_InspectorEvents_10, inspectorSink.get());
            return S_OK;
        });
    const DWORD cookie = advise(inspectors.get(), oc::DIID_InspectorsEvents, inspectorsSink.get());

    engine::ComposeFields fields;
    fields.subject = QStringLiteral("Draft");
    const ol::InspectorPtr window = engine->compose(fields);
    EXPECT_EQ(log, (std::vector<std::string>{"NewInspector:Draft", "Activate"}));
    EXPECT_EQ(getObject(application.get(), L"ActiveInspector").get(), announced.get());
    EXPECT_EQ((*get(inspectors.get(), L"Count")).lVal, 1);

    log.clear();
    engine->activate(window);  // known by now: no second announcement
    EXPECT_EQ(log, (std::vector<std::string>{"Activate"}));

    log.clear();
    engine->close(window);
    EXPECT_EQ(log, (std::vector<std::string>{"Close"}));
    EXPECT_EQ((*get(inspectors.get(), L"Count")).lVal, 0);

    EXPECT_EQ(unadvise(announced.get(), oc::DIID_InspectorEvents_10, inspectorCookie), S_OK);
    EXPECT_EQ(unadvise(inspectors.get(), oc::DIID_InspectorsEvents, cookie), S_OK);
    EXPECT_TRUE(reported.empty());
}

TEST_F(ServerEventsTest, AWindowOpenBeforeTheSinkWasAdvisedIsNotAnnounced) {
    const ol::InspectorPtr window = engine->compose();
    const Object inspectors = getObject(application.get(), L"Inspectors");
    const oc::ComPtr<Sink> sink =
        Sink::make(oc::DIID_InspectorsEvents, [&](DISPID, DISPPARAMS&, EXCEPINFO* error) {
            log.push_back("NewInspector");
            return raiseError(error, QStringLiteral("No ribbon for this window."));
        });
    const DWORD cookie = advise(inspectors.get(), oc::DIID_InspectorsEvents, sink.get());
    engine->activate(window);
    EXPECT_TRUE(log.empty());
    engine->compose();
    EXPECT_EQ(log, (std::vector<std::string>{"NewInspector"}));
    EXPECT_EQ(reported,
              (std::vector<std::string>{"InspectorActivate: No ribbon for this window."}));
    EXPECT_EQ(unadvise(inspectors.get(), oc::DIID_InspectorsEvents, cookie), S_OK);
}

TEST_F(ServerEventsTest, QuitReachesTheApplicationsSinks) {
    const oc::ComPtr<Sink> sink =
        Sink::make(oc::DIID_ApplicationEvents_11, [&](DISPID id, DISPPARAMS& params, EXCEPINFO*) {
            log.push_back(id == oc::DISPID_Quit ? "Quit" : "other");
            EXPECT_EQ(params.cArgs, 0u);
            return S_OK;
        });
    const DWORD cookie = advise(application.get(), oc::DIID_ApplicationEvents_11, sink.get());
    engine->quit();
    EXPECT_EQ(log, (std::vector<std::string>{"Quit"}));
    EXPECT_EQ(unadvise(application.get(), oc::DIID_ApplicationEvents_11, cookie), S_OK);
}

TEST_F(ServerEventsTest, AfterTheMailboxClosesCallsFailAndSinksStillUnadvise) {
    const Object inbox = items(ol::olFolderInbox);
    const oc::ComPtr<Sink> sink = itemAddSink("closed");
    const DWORD cookie = advise(inbox.get(), oc::DIID_ItemsEvents, sink.get());
    errors.disconnect();
    close();  // the engine goes: its subscriptions end with it

    const Outcome out = invoke(application.get(), L"Version", kLateGet);
    EXPECT_EQ(out.hr, DISP_E_EXCEPTION);
    EXPECT_EQ(out.description, QStringLiteral("The mailbox is closed."));
    EXPECT_EQ(invoke(inbox.get(), L"Count", kLateGet).description,
              QStringLiteral("The mailbox is closed."));
    EXPECT_EQ(activeAdvises(), 1);
    EXPECT_EQ(unadvise(inbox.get(), oc::DIID_ItemsEvents, cookie), S_OK);
    EXPECT_TRUE(log.empty());
}

// Answers IUnknown only: no way to call it.
class Mute final : public IUnknown {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (IsEqualIID(iid, IID_IUnknown)) {
            *out = this;
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
};

TEST_F(ServerEventsTest, ConnectionPointsKeepTheirBooks) {
    const Object inbox = items(ol::olFolderInbox);
    const oc::ComPtr<IConnectionPoint> point = connectionPoint(inbox.get(), oc::DIID_ItemsEvents);
    ASSERT_TRUE(point);
    IID iid{};
    EXPECT_EQ(point->GetConnectionInterface(&iid), S_OK);
    EXPECT_TRUE(IsEqualIID(iid, oc::DIID_ItemsEvents));
    oc::ComPtr<IConnectionPointContainer> container;
    EXPECT_EQ(point->GetConnectionPointContainer(container.put()), S_OK);
    EXPECT_EQ(container.query<IUnknown>(IID_IUnknown).get(),
              inbox.query<IUnknown>(IID_IUnknown).get());

    oc::ComPtr<IConnectionPoint> wrong;
    EXPECT_EQ(container->FindConnectionPoint(oc::DIID_ApplicationEvents_11, wrong.put()),
              CONNECT_E_NOCONNECTION);
    EXPECT_FALSE(wrong);

    Mute mute;
    DWORD cookie = 7;
    EXPECT_EQ(point->Advise(&mute, &cookie), CONNECT_E_CANNOTCONNECT);
    EXPECT_EQ(cookie, 0u);
    EXPECT_EQ(activeAdvises(), 0);

    const oc::ComPtr<Sink> sink = itemAddSink("only");
    EXPECT_EQ(point->Advise(sink.get(), &cookie), S_OK);
    EXPECT_EQ(activeAdvises(), 1);
    EXPECT_EQ(point->Unadvise(cookie + 1000), CONNECT_E_NOCONNECTION);
    // A cookie of another connection point is not this one's.
    EXPECT_EQ(unadvise(application.get(), oc::DIID_ApplicationEvents_11, cookie),
              CONNECT_E_NOCONNECTION);
    EXPECT_EQ(point->Unadvise(cookie), S_OK);
    EXPECT_EQ(point->Unadvise(cookie), CONNECT_E_NOCONNECTION);
    EXPECT_EQ(activeAdvises(), 0);
}

}  // namespace
}  // namespace vantorel::host::com::testing
