// What the module remembers of its topic-table loads. The topic windows'
// initialisers (CKvxGGztWnd::InitGGSession and its siblings) load each topic
// table into the global main session at most once per process.
#ifndef ORBE_DICTIONARY_REFERENCE_LOADERS_H_
#define ORBE_DICTIONARY_REFERENCE_LOADERS_H_

namespace orbe {

// Forgets which topic tables were loaded, for when the main session they
// went into is deleted: the next initialiser loads into the new one.
void ForgetTopicLoads();

}  // namespace orbe

#endif  // ORBE_DICTIONARY_REFERENCE_LOADERS_H_
