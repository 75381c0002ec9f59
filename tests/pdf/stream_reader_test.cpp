#include "pdf/stream_reader.h"

#include <gtest/gtest.h>

#include "pdf/errors.h"
#include "platform/numbers.h"

namespace vs {

namespace {

// A compact text form of an object, to compare whole trees in tables.
std::string Describe(const TqxPDFObject* object) {
  if (!object) return "nothing";
  switch (object->ObjectType()) {
    case otBoolean: return As<TqxPDFBooleanObject>(object)->Value() ? "true" : "false";
    case otInteger: return IntToText(As<TqxPDFIntegerObject>(object)->Value());
    case otInt64: return IntToText(As<TqxPDFInt64Object>(object)->Value()) + "L";
    case otReal: return FloatToText(As<TqxPDFRealObject>(object)->Value()) + "f";
    case otString: {
      auto* s = As<TqxPDFStringObject>(object);
      return (s->IsHex() ? "hex" : "") + s->Text();
    }
    case otName: return As<TqxPDFNameObject>(object)->Text();
    case otNull: return "null";
    case otArray: {
      auto* a = As<TqxPDFArrayObject>(object);
      std::string out = "[";
      for (int i = 0; i < a->Count(); ++i) out += (i ? " " : "") + Describe(a->Item(i));
      return out + "]";
    }
    case otDictionary: {
      auto* d = As<TqxPDFDictObject>(object);
      std::string out = "<<";
      for (int i = 0; i < d->Count(); ++i)
        out += (i ? " " : "") + d->KeyAt(i)->Text() + " " + Describe(d->ValueAt(i));
      return out + ">>";
    }
    case otStream: return "stream" + Describe(As<TqxPDFStreamObject>(object)->Dictionary());
    case otIndirectReference: {
      auto* r = As<TqxPDFIndirectReference>(object);
      return IntToText(r->ObjectNumber()) + " " + IntToText(r->Generation()) + " R";
    }
    case otIndirectObject: {
      auto* o = As<TqxPDFIndirectObject>(object);
      return IntToText(o->ObjectNumber()) + " " + IntToText(o->Generation()) + " obj " + Describe(o->Value());
    }
  }
  return "?";
}

// A reader over its own copy of the bytes.
struct Reader {
  explicit Reader(std::string_view bytes) : source(bytes), reader(7, &source) {}
  TMemoryStream source;
  TqxPDFStreamReader reader;
};

template <typename E>
std::string ErrorOf(std::string_view input, TqxPDFObjectPtr (TqxPDFStreamReader::*read)() = &TqxPDFStreamReader::ReadObject) {
  Reader r(input);
  try {
    (r.reader.*read)();
  } catch (const E& e) {
    return e.Message();
  } catch (const std::exception& e) {
    return std::string("wrong error: ") + e.what();
  }
  return "no error";
}

// Reverses the bytes and notes the object they belonged to.
struct ReversingDecryptor : TqxDecryptor {
  std::string Decrypt(std::string_view data, int32_t number, int32_t generation) override {
    last = IntToText(number) + "/" + IntToText(generation);
    return std::string(data.rbegin(), data.rend());
  }
  std::string last;
};

}  // namespace

TEST(StreamReader, Header) {
  for (int v = 0; v <= 6; ++v) {
    Reader r("%PDF-1." + IntToText(v) + "\n%\xE2\xE3\n1 0 obj");
    EXPECT_EQ(r.reader.ReadHeader(), v);
  }
  struct Case { std::string input, message; };
  const Case cases[] = {
      {"%PDF-1.7\n", "Unsupported PDF Version (%PDF-1.7)"},
      {" %PDF-1.4\n", "Invalid PDF Header ( %PDF-1)"},
      {"%PDF-2.0\n", "Invalid PDF Header (%PDF-2.)"},
      {"%PDF-1.x\n", "'x' is not a valid integer value"},
      {"%PDF-1.", "'' is not a valid integer value"},
      {"", "Invalid PDF Header ()"},
  };
  for (const Case& c : cases) {
    Reader r(c.input);
    try {
      r.reader.ReadHeader();
      ADD_FAILURE() << c.input;
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), c.message);
    }
  }
  // Accepting any version opens 1.7 and 2.0, and nothing else that was refused.
  EXPECT_EQ(Reader("%PDF-1.7\n1 0 obj").reader.ReadHeader(true), pvPDF17);
  EXPECT_EQ(Reader("%PDF-2.0\n1 0 obj").reader.ReadHeader(true), pvPDF20);
  EXPECT_EQ(Reader("%PDF-1.5\n1 0 obj").reader.ReadHeader(true), pvPDF15);
  for (const char* refused : {"%PDF-1.8\n", "%PDF-3.0\n", " %PDF-1.7\n"}) {
    Reader r(refused);
    EXPECT_THROW(r.reader.ReadHeader(true), Exception) << refused;
  }
}

TEST(StreamReader, FindStartXRef) {
  struct Case { std::string input; int32_t offset; std::string error; };
  const Case cases[] = {
      {"startxref\n10\n%%EOF startxref\r\n  1234\n%%EOF", 1234, ""},
      {"startxref 5 STARTXREF 77 %%EOF", 77, ""},
      {"startxref 5 mystartxref 9 startxrefs 8", 5, ""},  // whole words only
      {"trailer <<>>", 0, "Invalid PDF File"},
      {"startxref\n%%EOF", 0, "Error reading document. Unable to read offset"},
      {"startxref 99999999999", 0, "Error reading document. Unable to read offset"},
  };
  for (const Case& c : cases) {
    Reader r(c.input);
    try {
      EXPECT_EQ(r.reader.FindStartXRef(), c.offset) << c.input;
      EXPECT_EQ(c.error, "") << c.input;
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), c.error) << c.input;
    }
  }
}

TEST(StreamReader, TokensAndPeeking) {
  Reader r("  %c1\r\n%c2\n obj/Name(x) 12\f3 <</A 1>>");
  EXPECT_EQ(r.reader.PeekToken(), "obj");
  EXPECT_EQ(r.reader.PeekToken(), "obj");  // the position stays
  EXPECT_EQ(r.reader.ReadToken(), "obj");
  EXPECT_EQ(r.reader.ReadToken(), "/Name");
  EXPECT_EQ(r.reader.PeekToken(), "");     // an immediate delimiter
  EXPECT_EQ(r.reader.ReadToken(), "(x");   // the first byte whatever it is
  EXPECT_EQ(r.reader.ReadToken(), ")");
  EXPECT_EQ(r.reader.ReadToken(), "12\f3");  // form feed is no white space
  EXPECT_EQ(r.reader.ReadToken(), "<");
  r.reader.SetPosition(r.reader.Size());
  EXPECT_EQ(r.reader.ReadToken(), "");
  EXPECT_EQ(r.reader.PeekToken(), "");
}

TEST(StreamReader, ObjectKinds) {
  struct Case { std::string input, expected; };
  const Case cases[] = {
      {"12 0 R", "12 0 R"},
      {"12 0 obj (x) endobj", "12 0 obj (x)"},
      {"12 0 OBJ 5", "12 0 obj 5"},
      {"[12 0]", "[12 0]"},
      {"[1 2 3 R 4]", "[1 2 3 R 4]"},
      {"2147483647", "2147483647"},
      {"4294967296", "4294967296L"},
      {"-9223372036854775808", "-9223372036854775808L"},
      {"1.5", "1.5f"},
      {"-.5", "-0.5f"},
      {"1.2.3", "1.2.3"},
      {"(a\\) b)", "(a) b)"},
      {"(a(b)c)", "(a(b)c)"},
      {"(a\\\nb)", "(ab)"},
      {"(a\\\r\nb)", "(ab)"},
      {"(a<b\\101)", "(a<bA)"},
      {"<41 4>", "hex<41 4>"},
      {"<4<1>>", "hex<4<1>>"},
      {"<</A 1 /B>>", "<</A 1>>"},
      {"<</Type/Page/Kids[1 0 R]/MediaBox [0 0 612.0 792]>>",
       "<</Type /Page /Kids [1 0 R] /MediaBox [0 0 612f 792]>>"},
      {"/A#20B", "/A#20B"},
      {"/Name/Other", "/Name"},
      {"/", "/"},
      {"% comment\n true", "true"},
      {"false", "false"},
      {"null", "null"},
      {"[]", "[]"},
      {"[[[]]]", "[[[]]]"},
      {"]", "nothing"},
      {"}", "nothing"},
      {"1 0 obj <</Length 5>>\nstream\nhello\nendstream", "1 0 obj stream<</Length 5>>"},
  };
  for (const Case& c : cases) {
    Reader r(c.input);
    EXPECT_EQ(Describe(r.reader.ReadObject().get()), c.expected) << c.input;
  }
}

TEST(StreamReader, ReferencesKeepTheDocumentNumber) {
  Reader r("3 2 R 4 1 obj null");
  auto ref = r.reader.ReadObject();
  EXPECT_EQ(As<TqxPDFIndirectReference>(ref.get())->DocumentNumber(), 7);
  auto def = r.reader.ReadObject();
  EXPECT_EQ(As<TqxPDFIndirectObject>(def.get())->DocumentNumber(), 7);
  EXPECT_EQ(r.reader.CurrentObjectNumber(), 4);
  EXPECT_EQ(r.reader.CurrentGeneration(), 1);
}

TEST(StreamReader, ObjectErrors) {
  const std::string deep_array(300, '[');
  std::string deep_dict;
  for (int i = 0; i < 300; ++i) deep_dict += "<</A ";
  std::string deep_definition;
  for (int i = 0; i < 300; ++i) deep_definition += "1 0 obj ";
  struct Case { std::string input, message; };
  const Case cases[] = {
      {"tru", "Expected boolean (true) object"},
      {"fals", "Expected boolean (false) object"},
      {"nul ", "Expected PDF null object"},
      {"(abc", "Error reading PDF string (()"},
      {"<abc", "Error reading PDF string (<)"},
      {"<</A 1 ]", "Error reading PDF name string (])"},
      {"<</A 1", "Error reading PDF name string ()"},
      {"[1 2", "'' is not a valid integer value"},
      {"abc", "'abc' is not a valid integer value"},
      {"99999999999999999999", "'99999999999999999999' is not a valid integer value"},
      {deep_array, "Error reading PDF array ([)"},
      {deep_dict, "Error reading PDF dictionary (<)"},
      {deep_definition, "Unexpected PDF object encountered"},
      {"1 0 obj [1] stream\n", "Error reading PDF stream"},
  };
  for (const Case& c : cases) EXPECT_EQ(ErrorOf<Exception>(c.input), c.message) << c.input.substr(0, 20);

  // Each kind refuses the wrong opening byte.
  Reader r("x");
  EXPECT_THROW(r.reader.ReadArray(), EArrayReadError);
  r.reader.SetPosition(0);
  EXPECT_THROW(r.reader.ReadString(), EStringReadError);
  r.reader.SetPosition(0);
  EXPECT_THROW(r.reader.ReadName(), ENameReadError);
  Reader d("<x");
  try {
    d.reader.ReadDictionary();
    FAIL();
  } catch (const EDictionaryReadError& e) {
    EXPECT_EQ(e.Message(), "Error reading PDF dictionary (x)");
    EXPECT_EQ(e.Offset(), 2);
  }
}

TEST(StreamReader, Trailer) {
  Reader r("xref\n0 1\n0000000000 65535 f\ntrailer\n<</Size 1/Root 1 0 R>>\nstartxref");
  EXPECT_EQ(Describe(r.reader.ReadTrailer().get()), "<</Size 1 /Root 1 0 R>>");
  for (std::string bad : {"trailing <<>>", "trailer [1]", "no keyword here", "trail"}) {
    Reader b(bad);
    EXPECT_THROW(b.reader.ReadTrailer(), ETrailerError) << bad;
  }
}

TEST(StreamReader, StreamDataWithLengthRecovery) {
  struct Case { std::string after_dict; int32_t length; std::string data; };
  const Case cases[] = {
      {" stream\nhello\nendstream", 5, "hello"},
      {" stream\r\nhello\r\nendstream", 5, "hello"},
      {" stream \t\r\nhello endstream", 5, "hello"},
      {" stream\nhello\nendstream", 10, "hello"},           // 5 too long
      {" stream\nhello world\nendstream", 6, "hello world"},  // 5 too short
      {" stream\r\nhello\r\nendstream", 2147483647, "hello"},  // far beyond the data
      {" stream\nhello\nendstream", -3, "hello"},
      {" stream\n\nendstream", 0, ""},
      {" stream\nhello\nendstream", 0, "hello"},            // data the dictionary did not promise
      {" stream\nendstream", 1, ""},
      {" stream\nab endstream cd\nendstream", 20, "ab endstream cd"},  // the keyword that ends the object
      // Far beyond the data, with further objects after it: they are not part of it.
      {" stream\nhello\nendstream\nendobj\n2 0 obj\n<< /Length 2 >>\nstream\nab\nendstream", 2147483647, "hello"},
      {" stream\nhello\nendstream endobj 2 0 obj (endstream) endobj 3 0 obj", 2147483647, "hello"},
      {" stream\nhello\nendstream\nendobj 2 0 obj << >> stream\nab\nendstream", 7, "hello"},
  };
  for (const Case& c : cases) {
    Reader r(c.after_dict + "\nendobj");
    auto data = r.reader.ReadStreamData(c.length, 1, 0);
    EXPECT_EQ(data->View(), c.data) << c.after_dict << " /Length " << c.length;
    EXPECT_EQ(r.reader.PeekToken(), "endobj") << c.after_dict;  // just after "endstream"
  }

  // The next definition may follow without "endobj".
  Reader next(" stream\nhello\nendstream\n12 0 obj\n(x)\nendobj\n13 0 obj << >> stream\nab\nendstream");
  EXPECT_EQ(next.reader.ReadStreamData(99999, 1, 0)->View(), "hello");
  EXPECT_EQ(next.reader.PeekToken(), "12");

  struct Bad { std::string input; std::string message; };
  const Bad bad[] = {
      {" strem\nhello\nendstream", "Error reading PDF stream"},
      {" stream\nhello\nendstrem", "Expected PDF endstream"},
      {" stream\nhello", "Expected PDF endstream"},
  };
  for (const Bad& b : bad) {
    Reader r(b.input);
    try {
      r.reader.ReadStreamData(5, 1, 0);
      ADD_FAILURE() << b.input;
    } catch (const EPDFReadError& e) {
      EXPECT_EQ(e.Message(), b.message);
    }
  }
}

TEST(StreamReader, DecryptsStringsAndStreamBodies) {
  ReversingDecryptor decryptor;
  Reader r("5 2 obj [(abc) <616263> ()]");
  r.reader.SetDecryptor(&decryptor);
  EXPECT_EQ(Describe(r.reader.ReadObject().get()), "5 2 obj [(cba) (cba) ()]");
  EXPECT_EQ(decryptor.last, "5/2");

  Reader s(" stream\nabc\nendstream");
  s.reader.SetDecryptor(&decryptor);
  EXPECT_EQ(s.reader.ReadStreamData(3, 9, 1)->View(), "cba");
  EXPECT_EQ(decryptor.last, "9/1");

  // A signature's /Contents is stored in the clear; any other /Contents is not.
  Reader signature("6 0 obj << /Contents <616263> /Type /Sig /Name (abc) >>");
  signature.reader.SetDecryptor(&decryptor);
  EXPECT_EQ(Describe(signature.reader.ReadObject().get()), "6 0 obj <</Contents hex<616263> /Type /Sig /Name (cba)>>");
  Reader stamp("6 0 obj << /Contents (abc) /ByteRange [0 1 2 3] >>");
  stamp.reader.SetDecryptor(&decryptor);
  EXPECT_EQ(Describe(stamp.reader.ReadObject().get()), "6 0 obj <</Contents (abc) /ByteRange [0 1 2 3]>>");
  Reader note("6 0 obj << /Subtype /Text /Contents <616263> >>");
  note.reader.SetDecryptor(&decryptor);
  EXPECT_EQ(Describe(note.reader.ReadObject().get()), "6 0 obj <</Subtype /Text /Contents (cba)>>");

  Reader no_object("(abc)");
  no_object.reader.SetDecryptor(&decryptor);
  EXPECT_THROW(no_object.reader.ReadObject(), EInvalidObjectNo);
  Reader no_stream_object(" stream\nabc\nendstream");
  no_stream_object.reader.SetDecryptor(&decryptor);
  EXPECT_THROW(no_stream_object.reader.ReadStreamData(3, -1, 0), EInvalidObjectNo);
}

TEST(StreamReader, BodiesOfLoadedBytesStayViewsUntilUsed) {
  const std::string file = "4 1 obj << >> stream\nabc\nendstream\nendobj";
  auto decryptor = std::make_shared<ReversingDecryptor>();
  struct Case {
    bool loaded;     // over shared file bytes, or over a memory stream
    bool encrypted;
  };
  for (const Case c : {Case{true, false}, Case{true, true}, Case{false, false}, Case{false, true}}) {
    SCOPED_TRACE(std::string(c.loaded ? "loaded" : "memory") + (c.encrypted ? " encrypted" : ""));
    auto bytes = TqxFileBytes::Copy(file);
    TMemoryStream source(file);
    TqxPDFStreamReader reader = c.loaded ? TqxPDFStreamReader(7, bytes) : TqxPDFStreamReader(7, &source);
    if (c.encrypted) reader.SetDecryptor(std::shared_ptr<TqxDecryptor>(decryptor));
    decryptor->last.clear();
    TqxPDFObjectPtr object = reader.ReadObject();
    auto* stream = As<TqxPDFStreamObject>(As<TqxPDFIndirectObject>(object.get())->Value());
    ASSERT_NE(stream, nullptr);
    reader.ReadStreamBody(*stream, 3, 4, 1);
    EXPECT_EQ(reader.PeekToken(), "endobj");
    // Loaded bytes: decryption waits for the first use, and plain bytes are not copied.
    EXPECT_EQ(decryptor->last, c.encrypted && !c.loaded ? "4/1" : "");
    EXPECT_EQ(stream->DataView().data() == bytes->View().data() + 21, c.loaded && !c.encrypted);
    EXPECT_EQ(stream->Data()->View(), c.encrypted ? "cba" : "abc");
    EXPECT_EQ(decryptor->last, c.encrypted ? "4/1" : "");
  }
}

}  // namespace vs
