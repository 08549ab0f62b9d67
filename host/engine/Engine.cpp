#include "host/engine/Engine.h"

#include "host/engine/Core.h"
#include "host/engine/Objects.h"

#include <algorithm>
#include <stdexcept>

namespace vantorel::engine {

namespace {

std::shared_ptr<InspectorImpl> ours(const outlook::InspectorPtr& inspector) {
    auto impl = std::dynamic_pointer_cast<InspectorImpl>(inspector);
    if (!impl) {
        throw std::invalid_argument("not an inspector of this engine");
    }
    return impl;
}

}  // namespace

Engine::Engine(const QString& databasePath, const EngineOptions& options)
    : core_(std::make_shared<Core>(databasePath, options)) {}

Engine::~Engine() {
    core_->close();
}

const QString& Engine::path() const {
    return core_->path();
}

outlook::ApplicationPtr Engine::application() const {
    return std::make_shared<ApplicationImpl>(core_);
}

void Engine::setVersion(const QString& version) {
    core_->version = version;
}

void Engine::setSinkOrder(SinkOrder order) {
    core_->sinkOrder = order;
}

void Engine::setExplorerCount(int count) {
    core_->explorerCount = count;
}

void Engine::setCurrentUser(const QString& name, const QString& address) {
    core_->userName = name;
    core_->userAddress = address;
}

void Engine::addCategory(const QString& name) {
    core_->addCategory(name);
}

outlook::MAPIFolderPtr Engine::addStore(const QString& name, const QString& inboxName, bool deep) {
    if (name.trimmed().isEmpty()) {
        throw std::invalid_argument("a store needs a name");
    }
    return core_->makeFolder(core_->addStore(name, inboxName, deep));
}

outlook::MAPIFolderPtr Engine::addFolder(const outlook::MAPIFolderPtr& parent,
                                         const QString& name) {
    const FolderState* p = parent ? core_->folderByEntryId(parent->EntryID()) : nullptr;
    if (!p) {
        throw std::invalid_argument("no such parent folder");
    }
    return core_->makeFolder(core_->addFolder(p->record.id, name));
}

outlook::MAPIFolderPtr Engine::inbox(const QString& storeName) const {
    qint64 storeId = 0;
    if (!storeName.isEmpty()) {
        const StoreRecord* s = core_->storeByName(storeName);
        if (!s) {
            throw std::invalid_argument("no store of that name: " + storeName.toStdString());
        }
        storeId = s->id;
    }
    return core_->makeFolder(core_->roleFolder(outlook::olFolderInbox, storeId));
}

outlook::ItemPtr Engine::deliver(const Delivery& message, const QString& storeName) {
    return deliverTo(inbox(storeName), message);
}

outlook::ItemPtr Engine::deliverTo(const outlook::MAPIFolderPtr& folder, const Delivery& message) {
    // The host's own lookup: not an object-model call, so no fault armed for the
    // add-in's calls hits it.
    const auto* impl = dynamic_cast<const FolderImpl*>(folder.get());
    const FolderState* f = impl ? core_->folder(impl->id()) : nullptr;
    if (!f) {
        throw std::invalid_argument("no such folder");
    }
    return core_->deliver(f->record.id, message);
}

outlook::InspectorPtr Engine::compose(const ComposeFields& fields) {
    ItemRecord record;
    record.kind = ItemKind::Mail;
    record.subject = fields.subject;
    record.body = fields.body;
    const auto add = [&](const QString& text, int type) {
        for (RecipientRecord& r : parseRecipients(text, type, core_->addressBook)) {
            record.recipients.push_back(std::move(r));
        }
    };
    add(fields.to, outlook::olTo);
    add(fields.cc, outlook::olCC);
    add(fields.bcc, outlook::olBCC);
    const std::shared_ptr<InspectorImpl> inspector = core_->openInspector(core_->makeItem(record));
    core_->activate(inspector);
    return inspector;
}

void Engine::activate(const outlook::InspectorPtr& inspector) {
    core_->activate(ours(inspector));
}

bool Engine::isOpen(const outlook::InspectorPtr& inspector) const {
    const auto& open = core_->inspectors();
    return std::any_of(open.begin(), open.end(),
                       [&inspector](const auto& each) { return each == inspector; });
}

void Engine::close(const outlook::InspectorPtr& inspector) {
    core_->closeInspector(ours(inspector));
}

std::vector<outlook::InspectorPtr> Engine::inspectors() const {
    return {core_->inspectors().begin(), core_->inspectors().end()};
}

std::vector<outlook::ItemPtr> Engine::displayed() const {
    return core_->displayed();
}

outlook::Connection Engine::onDisplay(
    std::function<void(const outlook::ItemPtr&, const outlook::InspectorPtr&)> handler) {
    return core_->displayEvent.connect(std::move(handler));
}

outlook::Connection Engine::onInspectorClose(
    std::function<void(const outlook::InspectorPtr&)> handler) {
    return core_->inspectorClose.connect(std::move(handler));
}

void Engine::quit() {
    core_->raise("Quit", core_->quit);
}

outlook::Connection Engine::onEventError(
    std::function<void(const QString& event, const QString& text)> handler) {
    return core_->eventError.connect(std::move(handler));
}

Faults& Engine::faults() {
    return core_->faults;
}

}  // namespace vantorel::engine
