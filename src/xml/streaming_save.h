#ifndef ZENTROVA_XML_STREAMING_SAVE_H_
#define ZENTROVA_XML_STREAMING_SAVE_H_

// Saving a document while it is being built, for a document too large to hold whole: its
// last element stays open while its children are appended one by one, and each child, once
// complete, is written to the file and removed from the document. The file's bytes are those
// Document::Save would have written for the whole document.

#include <memory>
#include <string>

#include "files/file_replacement.h"
#include "xml/document.h"

namespace zentrova::xml {

class SavedText;

class StreamingSave {
 public:
  // Writes `document` up to the start of `open`, an element without children that is the
  // last of its parent, as is each of its ancestors: nothing of the document follows it.
  // The bytes go to `file`'s temporary; Finish moves them into place. Raises xml::Error when
  // `open` is not such an element or the declared encoding is not supported, and
  // files::Error when the file cannot be written.
  StreamingSave(Document& document, Node open, files::FileReplacement& file);
  ~StreamingSave();
  StreamingSave(const StreamingSave&) = delete;
  StreamingSave& operator=(const StreamingSave&) = delete;

  // Writes `child`, the one child of the open element, complete, and removes it from the
  // document. Raises like the constructor.
  void Write(Node child);

  // Writes the end of the document and commits the file. Raises like the constructor; the
  // file is then left as it was.
  void Finish();

 private:
  void WriteOut();

  Document& document_;
  Node open_;
  files::FileReplacement& file_;
  std::unique_ptr<SavedText> text_;
  bool open_started_ = false;  // the open element's start tag is written
};

}  // namespace zentrova::xml

#endif  // ZENTROVA_XML_STREAMING_SAVE_H_
