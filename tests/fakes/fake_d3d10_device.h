// A trial Direct3D 10 device: the probe may only release it, so every
// device method counts as an unexpected call.
#pragma once

#include <windows.h>
#include <d3d10.h>

namespace fakes {

class d3d10_device final : public ID3D10Device {
public:
    ULONG references = 0;
    int calls = 0;  // device methods called; the probe must call none

    HRESULT WINAPI QueryInterface(REFIID, void** object) override {
        ++calls;
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG WINAPI AddRef() override { return ++references; }
    ULONG WINAPI Release() override { return --references; }

    // clang-format off
    void WINAPI VSSetConstantBuffers(UINT, UINT, ID3D10Buffer *const *) override { ++calls; }
    void WINAPI PSSetShaderResources(UINT, UINT, ID3D10ShaderResourceView *const *) override { ++calls; }
    void WINAPI PSSetShader(ID3D10PixelShader *) override { ++calls; }
    void WINAPI PSSetSamplers(UINT, UINT, ID3D10SamplerState *const *) override { ++calls; }
    void WINAPI VSSetShader(ID3D10VertexShader *) override { ++calls; }
    void WINAPI DrawIndexed(UINT, UINT, INT) override { ++calls; }
    void WINAPI Draw(UINT, UINT) override { ++calls; }
    void WINAPI PSSetConstantBuffers(UINT, UINT, ID3D10Buffer *const *) override { ++calls; }
    void WINAPI IASetInputLayout(ID3D10InputLayout *) override { ++calls; }
    void WINAPI IASetVertexBuffers(UINT, UINT, ID3D10Buffer *const *, const UINT *, const UINT *) override { ++calls; }
    void WINAPI IASetIndexBuffer(ID3D10Buffer *, DXGI_FORMAT, UINT) override { ++calls; }
    void WINAPI DrawIndexedInstanced(UINT, UINT, UINT, INT, UINT) override { ++calls; }
    void WINAPI DrawInstanced(UINT, UINT, UINT, UINT) override { ++calls; }
    void WINAPI GSSetConstantBuffers(UINT, UINT, ID3D10Buffer *const *) override { ++calls; }
    void WINAPI GSSetShader(ID3D10GeometryShader *) override { ++calls; }
    void WINAPI IASetPrimitiveTopology(D3D10_PRIMITIVE_TOPOLOGY) override { ++calls; }
    void WINAPI VSSetShaderResources(UINT, UINT, ID3D10ShaderResourceView *const *) override { ++calls; }
    void WINAPI VSSetSamplers(UINT, UINT, ID3D10SamplerState *const *) override { ++calls; }
    void WINAPI SetPredication(ID3D10Predicate *, BOOL) override { ++calls; }
    void WINAPI GSSetShaderResources(UINT, UINT, ID3D10ShaderResourceView *const *) override { ++calls; }
    void WINAPI GSSetSamplers(UINT, UINT, ID3D10SamplerState *const *) override { ++calls; }
    void WINAPI OMSetRenderTargets(UINT, ID3D10RenderTargetView *const *, ID3D10DepthStencilView *) override { ++calls; }
    void WINAPI OMSetBlendState(ID3D10BlendState *, const FLOAT[4], UINT) override { ++calls; }
    void WINAPI OMSetDepthStencilState(ID3D10DepthStencilState *, UINT) override { ++calls; }
    void WINAPI SOSetTargets(UINT, ID3D10Buffer *const *, const UINT *) override { ++calls; }
    void WINAPI DrawAuto() override { ++calls; }
    void WINAPI RSSetState(ID3D10RasterizerState *) override { ++calls; }
    void WINAPI RSSetViewports(UINT, const D3D10_VIEWPORT *) override { ++calls; }
    void WINAPI RSSetScissorRects(UINT, const D3D10_RECT *) override { ++calls; }
    void WINAPI CopySubresourceRegion(ID3D10Resource *, UINT, UINT, UINT, UINT, ID3D10Resource *, UINT, const D3D10_BOX *) override { ++calls; }
    void WINAPI CopyResource(ID3D10Resource *, ID3D10Resource *) override { ++calls; }
    void WINAPI UpdateSubresource(ID3D10Resource *, UINT, const D3D10_BOX *, const void *, UINT, UINT) override { ++calls; }
    void WINAPI ClearRenderTargetView(ID3D10RenderTargetView *, const FLOAT[4]) override { ++calls; }
    void WINAPI ClearDepthStencilView(ID3D10DepthStencilView *, UINT, FLOAT, UINT8) override { ++calls; }
    void WINAPI GenerateMips(ID3D10ShaderResourceView *) override { ++calls; }
    void WINAPI ResolveSubresource(ID3D10Resource *, UINT, ID3D10Resource *, UINT, DXGI_FORMAT) override { ++calls; }
    void WINAPI VSGetConstantBuffers(UINT, UINT, ID3D10Buffer **) override { ++calls; }
    void WINAPI PSGetShaderResources(UINT, UINT, ID3D10ShaderResourceView **) override { ++calls; }
    void WINAPI PSGetShader(ID3D10PixelShader **) override { ++calls; }
    void WINAPI PSGetSamplers(UINT, UINT, ID3D10SamplerState **) override { ++calls; }
    void WINAPI VSGetShader(ID3D10VertexShader **) override { ++calls; }
    void WINAPI PSGetConstantBuffers(UINT, UINT, ID3D10Buffer **) override { ++calls; }
    void WINAPI IAGetInputLayout(ID3D10InputLayout **) override { ++calls; }
    void WINAPI IAGetVertexBuffers(UINT, UINT, ID3D10Buffer **, UINT *, UINT *) override { ++calls; }
    void WINAPI IAGetIndexBuffer(ID3D10Buffer **, DXGI_FORMAT *, UINT *) override { ++calls; }
    void WINAPI GSGetConstantBuffers(UINT, UINT, ID3D10Buffer **) override { ++calls; }
    void WINAPI GSGetShader(ID3D10GeometryShader **) override { ++calls; }
    void WINAPI IAGetPrimitiveTopology(D3D10_PRIMITIVE_TOPOLOGY *) override { ++calls; }
    void WINAPI VSGetShaderResources(UINT, UINT, ID3D10ShaderResourceView **) override { ++calls; }
    void WINAPI VSGetSamplers(UINT, UINT, ID3D10SamplerState **) override { ++calls; }
    void WINAPI GetPredication(ID3D10Predicate **, BOOL *) override { ++calls; }
    void WINAPI GSGetShaderResources(UINT, UINT, ID3D10ShaderResourceView **) override { ++calls; }
    void WINAPI GSGetSamplers(UINT, UINT, ID3D10SamplerState **) override { ++calls; }
    void WINAPI OMGetRenderTargets(UINT, ID3D10RenderTargetView **, ID3D10DepthStencilView **) override { ++calls; }
    void WINAPI OMGetBlendState(ID3D10BlendState **, FLOAT[4], UINT *) override { ++calls; }
    void WINAPI OMGetDepthStencilState(ID3D10DepthStencilState **, UINT *) override { ++calls; }
    void WINAPI SOGetTargets(UINT, ID3D10Buffer **, UINT *) override { ++calls; }
    void WINAPI RSGetState(ID3D10RasterizerState **) override { ++calls; }
    void WINAPI RSGetViewports(UINT *, D3D10_VIEWPORT *) override { ++calls; }
    void WINAPI RSGetScissorRects(UINT *, D3D10_RECT *) override { ++calls; }
    HRESULT WINAPI GetDeviceRemovedReason() override { ++calls; return E_NOTIMPL; }
    HRESULT WINAPI SetExceptionMode(UINT) override { ++calls; return E_NOTIMPL; }
    UINT WINAPI GetExceptionMode() override { ++calls; return 0; }
    HRESULT WINAPI GetPrivateData(REFGUID, UINT *, void *) override { ++calls; return E_NOTIMPL; }
    HRESULT WINAPI SetPrivateData(REFGUID, UINT, const void *) override { ++calls; return E_NOTIMPL; }
    HRESULT WINAPI SetPrivateDataInterface(REFGUID, const IUnknown *) override { ++calls; return E_NOTIMPL; }
    void WINAPI ClearState() override { ++calls; }
    void WINAPI Flush() override { ++calls; }
    HRESULT WINAPI CreateBuffer(const D3D10_BUFFER_DESC *, const D3D10_SUBRESOURCE_DATA *, ID3D10Buffer **) override { ++calls; return E_NOTIMPL; }
    HRESULT WINAPI CreateTexture1D(const D3D10_TEXTURE1D_DESC *, const D3D10_SUBRESOURCE_DATA *, ID3D10Texture1D **) override { ++calls; return E_NOTIMPL; }
    HRESULT WINAPI CreateTexture2D(const D3D10_TEXTURE2D_DESC *, const D3D10_SUBRESOURCE_DATA *, ID3D10Texture2D **) override { ++calls; return E_NOTIMPL; }
    HRESULT WINAPI CreateTexture3D(const D3D10_TEXTURE3D_DESC *, const D3D10_SUBRESOURCE_DATA *, ID3D10Texture3D **) override { ++calls; return E_NOTIMPL; }
    HRESULT WINAPI CreateShaderResourceView(ID3D10Resource *, const D3D10_SHADER_RESOURCE_VIEW_DESC *, ID3D10ShaderResourceView **) override { ++calls; return E_NOTIMPL; }
    HRESULT WINAPI CreateRenderTargetView(ID3D10Resource *, const D3D10_RENDER_TARGET_VIEW_DESC *, ID3D10RenderTargetView **) override { ++calls; return E_NOTIMPL; }
    HRESULT WINAPI CreateDepthStencilView(ID3D10Resource *, const D3D10_DEPTH_STENCIL_VIEW_DESC *, ID3D10DepthStencilView **) override { ++calls; return E_NOTIMPL; }
    HRESULT WINAPI CreateInputLayout(const D3D10_INPUT_ELEMENT_DESC *, UINT, const void *, SIZE_T, ID3D10InputLayout **) override { ++calls; return E_NOTIMPL; }
    HRESULT WINAPI CreateVertexShader(const void *, SIZE_T, ID3D10VertexShader **) override { ++calls; return E_NOTIMPL; }
    HRESULT WINAPI CreateGeometryShader(const void *, SIZE_T, ID3D10GeometryShader **) override { ++calls; return E_NOTIMPL; }
    HRESULT WINAPI CreateGeometryShaderWithStreamOutput(const void *, SIZE_T, const D3D10_SO_DECLARATION_ENTRY *, UINT, UINT, ID3D10GeometryShader **) override { ++calls; return E_NOTIMPL; }
    HRESULT WINAPI CreatePixelShader(const void *, SIZE_T, ID3D10PixelShader **) override { ++calls; return E_NOTIMPL; }
    HRESULT WINAPI CreateBlendState(const D3D10_BLEND_DESC *, ID3D10BlendState **) override { ++calls; return E_NOTIMPL; }
    HRESULT WINAPI CreateDepthStencilState(const D3D10_DEPTH_STENCIL_DESC *, ID3D10DepthStencilState **) override { ++calls; return E_NOTIMPL; }
    HRESULT WINAPI CreateRasterizerState(const D3D10_RASTERIZER_DESC *, ID3D10RasterizerState **) override { ++calls; return E_NOTIMPL; }
    HRESULT WINAPI CreateSamplerState(const D3D10_SAMPLER_DESC *, ID3D10SamplerState **) override { ++calls; return E_NOTIMPL; }
    HRESULT WINAPI CreateQuery(const D3D10_QUERY_DESC *, ID3D10Query **) override { ++calls; return E_NOTIMPL; }
    HRESULT WINAPI CreatePredicate(const D3D10_QUERY_DESC *, ID3D10Predicate **) override { ++calls; return E_NOTIMPL; }
    HRESULT WINAPI CreateCounter(const D3D10_COUNTER_DESC *, ID3D10Counter **) override { ++calls; return E_NOTIMPL; }
    HRESULT WINAPI CheckFormatSupport(DXGI_FORMAT, UINT *) override { ++calls; return E_NOTIMPL; }
    HRESULT WINAPI CheckMultisampleQualityLevels(DXGI_FORMAT, UINT, UINT *) override { ++calls; return E_NOTIMPL; }
    void WINAPI CheckCounterInfo(D3D10_COUNTER_INFO *) override { ++calls; }
    HRESULT WINAPI CheckCounter(const D3D10_COUNTER_DESC *, D3D10_COUNTER_TYPE *, UINT *, char *, UINT *, char *, UINT *, char *, UINT *) override { ++calls; return E_NOTIMPL; }
    UINT WINAPI GetCreationFlags() override { ++calls; return 0; }
    HRESULT WINAPI OpenSharedResource(HANDLE, REFIID, void **) override { ++calls; return E_NOTIMPL; }
    void WINAPI SetTextFilterSize(UINT, UINT) override { ++calls; }
    void WINAPI GetTextFilterSize(UINT *, UINT *) override { ++calls; }
    // clang-format on
};

}  // namespace fakes
