// Topic initialisers of the Hong Kong stock, fund, futures and bond windows:
// each loads its reference table into the global main session at most once
// per process and tells whether that load succeeded. Call them on the thread
// that owns the windows; the load pumps its messages meanwhile.
#ifndef ORBE_DICTIONARY_REFERENCE_LOADERS_H_
#define ORBE_DICTIONARY_REFERENCE_LOADERS_H_

bool InitGGSession();
bool InitJJSession();
bool InitQHSession();
bool InitZQSession();

namespace orbe {

// Forgets which topic tables were loaded, for when the main session they
// went into is deleted: the next initialiser loads into the new one.
void ForgetTopicLoads();

}  // namespace orbe

#endif  // ORBE_DICTIONARY_REFERENCE_LOADERS_H_
