#include "toolkit/PngImage.h"

#include "common/ComPtr.h"
#include "common/WinText.h"
#include "toolkit/RawResource.h"

#include <wincodec.h>

#include <stdexcept>
#include <string>

namespace tk {
namespace {

// CLSID_WICImagingFactory1, present from Vista on (the factory 2 of Windows 8
// adds nothing needed here); defined here rather than taken from a library the
// program does not link.
constexpr GUID kWicFactory = {0xcacaf262, 0x9370, 0x4615, {0xa1, 0x3b, 0x9f, 0x55, 0x39, 0xda, 0x4c, 0x0a}};

[[noreturn]] void Fail(const std::wstring& name, const char* step, HRESULT hr) {
  char code[16];
  wsprintfA(code, "%08lX", static_cast<unsigned long>(hr));
  throw std::runtime_error("Cannot decode the picture " + win::ToUtf8(name) + " (" + step + ", 0x" + code + ")");
}

void Check(HRESULT hr, const std::wstring& name, const char* step) {
  if (FAILED(hr)) Fail(name, step, hr);
}

win::ComPtr<IWICImagingFactory> Factory() {
  win::ComPtr<IWICImagingFactory> factory;
  Check(::CoCreateInstance(kWicFactory, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IWICImagingFactory),
                           factory.put_void()),
        L"(imaging component)", "CoCreateInstance");
  return factory;
}

}  // namespace

Bitmap32 DecodePngResource(HMODULE module, const wchar_t* name) {
  const std::string_view bytes = RawResource(module, name);
  const win::ComPtr<IWICImagingFactory> factory = Factory();

  win::ComPtr<IWICStream> stream;
  Check(factory->CreateStream(stream.put()), name, "CreateStream");
  // The resource stays mapped for the life of the module: the stream only reads it.
  Check(stream->InitializeFromMemory(reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())),
                                     static_cast<DWORD>(bytes.size())),
        name, "InitializeFromMemory");
  win::ComPtr<IWICBitmapDecoder> decoder;
  Check(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.put()), name,
        "CreateDecoderFromStream");
  win::ComPtr<IWICBitmapFrameDecode> frame;
  Check(decoder->GetFrame(0, frame.put()), name, "GetFrame");
  win::ComPtr<IWICFormatConverter> converter;
  Check(factory->CreateFormatConverter(converter.put()), name, "CreateFormatConverter");
  Check(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                              WICBitmapPaletteTypeCustom),
        name, "convert to 32bppPBGRA");

  UINT width = 0;
  UINT height = 0;
  Check(converter->GetSize(&width, &height), name, "GetSize");
  Bitmap32 bitmap(static_cast<int>(width), static_cast<int>(height));
  const UINT stride = width * 4;
  Check(converter->CopyPixels(nullptr, stride, stride * height, reinterpret_cast<BYTE*>(bitmap.Data())), name,
        "CopyPixels");
  return bitmap;
}

}  // namespace tk
